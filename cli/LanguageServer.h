#pragma once

// brenvik-lsp's server: the Language Server Protocol's messages in, its
// answers and notifications out, as JSON values. Every open document is
// assembled again on every change by the same engine as the editor's; what it
// serves (diagnostics, hover, definitions, references, symbols) is read from
// that one assembly.

#include "Brenvik.h"
#include "SourceText.h"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

class LanguageServer {
  public:
    using Json = nlohmann::json;

    // What answering `message` sends back: a response to a request, and any
    // notifications (the diagnostics of a document that changed).
    std::vector<Json> handle(const Json& message);

    // The diagnostics of every document changed since they were last published,
    // each assembled once however many changes came: called when no message is
    // waiting, so that a burst of typing costs one run.
    std::vector<Json> settle();

    // After "exit": whether the client may end the process, and how.
    bool exitRequested() const { return exited; }
    int exitStatus() const { return shutDown ? 0 : 1; }

  private:
    struct Document {
        SourceText text;
        TBrenvikEngine engine{text};
        const Assembly* assembly = nullptr;
        bool assembled = false; // the assembly is of the text as it is
        bool published = false; // its diagnostics have been sent
    };

    Json request(const std::string& method, const Json& params);
    void notification(const std::string& method, const Json& params, std::vector<Json>& out);
    void take(const std::string& uri, const std::string& text);
    static void assemble(Document& document);
    Json publication(const std::string& uri);
    const Document& documentOf(const Json& params);

    Json hover(const Document& document, const Json& position) const;
    Json definition(const Document& document, const Json& params) const;
    Json references(const Document& document, const Json& params) const;
    Json documentSymbols(const Document& document) const;
    Json highlights(const Document& document, const Json& params) const;
    Json workspaceSymbols(const std::string& query) const;
    Json completion(const Document& document) const;
    Json inlayHints(const Document& document, const Json& range) const;
    Json semanticTokens(const Document& document) const;

    std::map<std::string, std::unique_ptr<Document>> documents;
    bool initialized = false;
    bool shutDown = false;
    bool exited = false;
};
