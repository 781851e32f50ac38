#include "LanguageServer.h"

#include "CodeFormat.h"
#include "Diagnostics.h"
#include "Instructions.h"
#include "LineTokens.h"
#include "Scan.h"
#include "Version.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

namespace {

using Json = LanguageServer::Json;

// The protocol's error codes.
constexpr int invalidRequest = -32600;
constexpr int methodNotFound = -32601;
constexpr int invalidParams = -32602;
constexpr int serverNotInitialized = -32002;
constexpr int requestFailed = -32803;

constexpr int fullSync = 1;
constexpr int errorSeverity = 1, warningSeverity = 2;
constexpr int functionKind = 12, variableKind = 13, constantKind = 14;
constexpr int keywordCompletion = 14, constantCompletion = 21, variableCompletion = 6;
constexpr int readHighlight = 2, writeHighlight = 3;

// The legend of semantic tokens: one type for each TokenKind, in its order.
const char* const tokenTypes[] = {"keyword", "macro",   "label",    "number",
                                  "string",  "comment", "operator", "variable"};

struct RequestError : std::runtime_error {
    RequestError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int code;
};

Json position(std::uint32_t line, std::uint32_t character) {
    return {{"line", line}, {"character", character}};
}
Json range(std::uint32_t line, std::uint32_t from, std::uint32_t to) {
    return {{"start", position(line, from)}, {"end", position(line, to)}};
}

std::uint32_t lineLength(const SourceText& text, std::uint32_t line) {
    return line < text.lineCount() ? static_cast<std::uint32_t>(text.line(line).size()) : 0;
}

// A symbol named or defined at a 0-based place of the text, the caret just
// after the name included.
std::optional<std::uint32_t> symbolAt(const Assembly& assembly, std::uint32_t line, std::uint32_t character) {
    const std::uint32_t column = character + 1;
    const auto covers = [&](std::uint32_t symbol, std::uint32_t start) {
        const auto length = static_cast<std::uint32_t>(assembly.symbols.wordAt(symbol).size());
        return column >= start && column <= start + length;
    };
    for (const Assembly::SymbolUse& use : assembly.uses)
        if (use.line == line && covers(use.symbol, use.column))
            return use.symbol;
    for (std::uint32_t symbol = 0; symbol < assembly.symbols.size(); ++symbol)
        if (assembly.symbols.valueAt(symbol) == line && covers(symbol, 1))
            return symbol;
    return std::nullopt;
}

constexpr std::string_view fileScheme = "file://";
constexpr int hexBase = 16;

// The file a "file:" URI names, its %XX escapes decoded; empty for any other URI,
// whose document then includes no file.
std::string pathOfUri(std::string_view uri) {
    if (!uri.starts_with(fileScheme))
        return {};
    std::string path;
    for (std::size_t i = fileScheme.size(); i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && std::isxdigit(static_cast<unsigned char>(uri[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(uri[i + 2]))) {
            path += static_cast<char>(std::stoi(std::string(uri.substr(i + 1, 2)), nullptr, hexBase));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    return path;
}

std::string uriOfPath(const std::string& path) {
    static constexpr std::string_view unescaped = "/-._~";
    std::string uri(fileScheme);
    for (const char c : path) {
        if (std::isalnum(static_cast<unsigned char>(c)) || unescaped.find(c) != std::string_view::npos) {
            uri += c;
        } else {
            char escape[sizeof "%FF"];
            std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
            uri += escape;
        }
    }
    return uri;
}

// A symbol's definition: in the document, or in the file it includes that defines it.
Json definitionLocation(const std::string& uri, const Assembly& assembly, std::uint32_t symbol) {
    const auto length = static_cast<std::uint32_t>(assembly.symbols.wordAt(symbol).size());
    if (symbol < assembly.symbolPlaces.size() && !assembly.symbolPlaces[symbol].file.empty()) {
        const SourcePlace& place = assembly.symbolPlaces[symbol];
        return {{"uri", uriOfPath(place.file)}, {"range", range(place.line, 0, length)}};
    }
    return {{"uri", uri}, {"range", range(assembly.symbols.valueAt(symbol), 0, length)}};
}

// A line's address and bytes as the code column shows them.
std::string codeText(const Assembly::Line& line) {
    const CodeRow row = codeRow(line, line.code.size() + 1, 0);
    std::string text = row.address;
    if (!row.bytes.empty())
        text += "  " + row.bytes;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string valueText(std::uint32_t value) {
    if (value > 0xFFFF)
        return "no value (its definition is in error)";
    return octalText(value, 6) + "B (" + std::to_string(value) + ")";
}

int symbolKind(const Assembly::Line& definition) {
    if (definition.kind == Assembly::Line::equ)
        return constantKind;
    return definition.hasOpcode() ? functionKind : variableKind;
}

// Symbols are held in upper case, as the assembler reads every name.
std::string upperCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), scan::upperCase);
    return text;
}

} // namespace

std::vector<Json> LanguageServer::handle(const Json& message) {
    std::vector<Json> out;
    if (!message.is_object() || message.value("jsonrpc", "") != "2.0") {
        out.push_back({{"jsonrpc", "2.0"},
                       {"id", nullptr},
                       {"error", {{"code", invalidRequest}, {"message", "not a JSON-RPC 2.0 message"}}}});
        return out;
    }
    // A reference, not a copy: the params of a change hold the whole document.
    static const Json noParams = Json::object();
    const auto given = message.find("params");
    const Json& params = given != message.end() ? *given : noParams;
    const bool isRequest = message.contains("id");
    if (!message.contains("method") || !message["method"].is_string()) {
        if (isRequest) // a response to nothing we asked, or a request without a method
            out.push_back({{"jsonrpc", "2.0"},
                           {"id", message["id"]},
                           {"error", {{"code", invalidRequest}, {"message", "a request without a method"}}}});
        return out;
    }
    const std::string method = message["method"];
    if (!isRequest) {
        notification(method, params, out);
        return out;
    }
    Json response{{"jsonrpc", "2.0"}, {"id", message["id"]}};
    try {
        response["result"] = request(method, params);
    } catch (const RequestError& error) {
        response["error"] = {{"code", error.code}, {"message", error.what()}};
    } catch (const Json::exception& error) { // params of the wrong shape
        response["error"] = {{"code", invalidParams}, {"message", error.what()}};
    }
    out.insert(out.begin(), response);
    return out;
}

Json LanguageServer::request(const std::string& method, const Json& params) {
    if (method == "initialize") {
        initialized = true;
        return {{"capabilities",
                 {{"positionEncoding", "utf-16"},
                  {"textDocumentSync", {{"openClose", true}, {"change", fullSync}}},
                  {"hoverProvider", true},
                  {"definitionProvider", true},
                  {"referencesProvider", true},
                  {"documentSymbolProvider", true},
                  {"documentHighlightProvider", true},
                  {"workspaceSymbolProvider", true},
                  {"completionProvider", Json::object()},
                  {"inlayHintProvider", true},
                  {"semanticTokensProvider",
                   {{"legend", {{"tokenTypes", tokenTypes}, {"tokenModifiers", Json::array()}}},
                    {"full", true}}}}},
                {"serverInfo", {{"name", "brenvik-lsp"}, {"version", brenvikVersion}}}};
    }
    if (!initialized)
        throw RequestError(serverNotInitialized, "the server is not initialized yet");
    if (method == "shutdown") {
        shutDown = true;
        return nullptr;
    }
    if (method == "textDocument/hover")
        return hover(documentOf(params), params.at("position"));
    if (method == "textDocument/definition")
        return definition(documentOf(params), params);
    if (method == "textDocument/references")
        return references(documentOf(params), params);
    if (method == "textDocument/documentSymbol")
        return documentSymbols(documentOf(params));
    if (method == "textDocument/documentHighlight")
        return highlights(documentOf(params), params);
    if (method == "workspace/symbol")
        return workspaceSymbols(params.value("query", ""));
    if (method == "textDocument/completion")
        return completion(documentOf(params));
    if (method == "textDocument/inlayHint")
        return inlayHints(documentOf(params), params.at("range"));
    if (method == "textDocument/semanticTokens/full")
        return semanticTokens(documentOf(params));
    throw RequestError(methodNotFound, "no method " + method);
}

void LanguageServer::notification(const std::string& method, const Json& params, std::vector<Json>& out) {
    try {
        if (method == "exit") {
            exited = true;
        } else if (!initialized || shutDown) {
            return; // notifications before initialize and after shutdown are dropped
        } else if (method == "textDocument/didOpen") {
            const Json& item = params.at("textDocument");
            const std::string uri = item.at("uri");
            take(uri, item.at("text").get_ref<const std::string&>());
            assemble(*documents[uri]);
            out.push_back(publication(uri));
        } else if (method == "textDocument/didChange") {
            const std::string uri = params.at("textDocument").at("uri");
            const Json& changes = params.at("contentChanges");
            if (documents.contains(uri) && !changes.empty())
                // Whole texts: the last one is the document.
                take(uri, changes.back().at("text").get_ref<const std::string&>());
        } else if (method == "textDocument/didClose") {
            const std::string uri = params.at("textDocument").at("uri");
            if (documents.erase(uri) > 0)
                out.push_back({{"jsonrpc", "2.0"},
                               {"method", "textDocument/publishDiagnostics"},
                               {"params", {{"uri", uri}, {"diagnostics", Json::array()}}}});
        }
    } catch (const Json::exception&) {
        // A notification has no answer, not even an error: one of the wrong shape is dropped.
    }
}

void LanguageServer::take(const std::string& uri, const std::string& text) {
    auto& document = documents[uri];
    if (!document) {
        document = std::make_unique<Document>();
        document->engine.setSourcePath(pathOfUri(uri));
    }
    document->text = SourceText(decodeSource(text).text);
    document->assembled = document->published = false;
}

void LanguageServer::assemble(Document& document) {
    if (document.assembled)
        return;
    document.assembly = &document.engine.run();
    document.assembled = true;
}

std::vector<Json> LanguageServer::settle() {
    std::vector<Json> out;
    for (const auto& [uri, document] : documents)
        if (!document->published) {
            assemble(*document);
            out.push_back(publication(uri));
        }
    return out;
}

Json LanguageServer::publication(const std::string& uri) {
    Document& document = *documents.at(uri);
    document.published = true;
    Json list = Json::array();
    for (const Diagnostic& d : document.assembly->diagnostics) {
        const bool error = isError(d);
        const std::uint32_t start = d.textColumn - 1;
        // An error's red runs to the end of the line; a warning covers what it is about.
        const std::uint32_t end =
            error ? std::max(start + 1, lineLength(document.text, d.line)) : d.column - 1 + d.length;
        list.push_back({{"range", range(d.line, start, end)},
                        {"severity", error ? errorSeverity : warningSeverity},
                        {"source", "brenvik"},
                        {"code", std::string(nameOf(d.fault.code))},
                        {"message", messageOf(d.fault) + "\n" + std::string(explanationOf(d.fault.code))}});
    }
    return {{"jsonrpc", "2.0"},
            {"method", "textDocument/publishDiagnostics"},
            {"params", {{"uri", uri}, {"diagnostics", list}}}};
}

// The document a request names, assembled if it changed since: a request
// answers for the text as it is.
const LanguageServer::Document& LanguageServer::documentOf(const Json& params) {
    const std::string uri = params.at("textDocument").at("uri");
    const auto found = documents.find(uri);
    if (found == documents.end())
        throw RequestError(requestFailed, "no open document " + uri);
    assemble(*found->second);
    return *found->second;
}

Json LanguageServer::hover(const Document& document, const Json& place) const {
    const Assembly& assembly = *document.assembly;
    const std::uint32_t line = place.at("line");
    if (line >= assembly.lines.size())
        return nullptr;
    std::string text;
    if (const auto symbol = symbolAt(assembly, line, place.at("character"))) {
        // Where it is defined: on a line of the document, or of a file it includes.
        std::string where = "on line " + std::to_string(assembly.symbols.valueAt(*symbol) + 1);
        if (*symbol < assembly.symbolPlaces.size() && !assembly.symbolPlaces[*symbol].file.empty()) {
            const SourcePlace& defined = assembly.symbolPlaces[*symbol];
            where = "in " + std::filesystem::path(defined.file).filename().string() + ", line " +
                    std::to_string(defined.line + 1);
        }
        text += "**" + std::string(assembly.symbols.wordAt(*symbol)) +
                "** = " + valueText(assembly.definitionOf(*symbol).value) + ", defined " + where + "\n\n";
    }
    const Assembly::Line& record = assembly.lines[line];
    if (const std::string code = codeText(record); !code.empty())
        text += "`" + code + "`";
    if (record.hasOpcode()) {
        const InstructionTiming timing = timingFor(record.opcode());
        text += "  opcode " + octalText(record.opcode(), 3) + ", " + std::to_string(timing.length) +
                (timing.length == 1 ? " byte, " : " bytes, ") + std::to_string(timing.states) +
                (timing.statesIfTaken != timing.states ? "-" + std::to_string(timing.statesIfTaken) : "") +
                " states";
    }
    if (text.empty())
        return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}};
}

Json LanguageServer::definition(const Document& document, const Json& params) const {
    const Json& place = params.at("position");
    const auto symbol = symbolAt(*document.assembly, place.at("line"), place.at("character"));
    if (!symbol)
        return nullptr;
    return definitionLocation(params.at("textDocument").at("uri"), *document.assembly, *symbol);
}

Json LanguageServer::references(const Document& document, const Json& params) const {
    const Assembly& assembly = *document.assembly;
    const Json& place = params.at("position");
    const auto symbol = symbolAt(assembly, place.at("line"), place.at("character"));
    Json list = Json::array();
    if (!symbol)
        return list;
    const std::string uri = params.at("textDocument").at("uri");
    if (params.value("context", Json::object()).value("includeDeclaration", false))
        list.push_back(definitionLocation(uri, assembly, *symbol));
    const auto length = static_cast<std::uint32_t>(assembly.symbols.wordAt(*symbol).size());
    for (const Assembly::SymbolUse& use : assembly.uses)
        if (use.symbol == *symbol)
            list.push_back(
                {{"uri", uri}, {"range", range(use.line, use.column - 1, use.column - 1 + length)}});
    return list;
}

Json LanguageServer::documentSymbols(const Document& document) const {
    const Assembly& assembly = *document.assembly;
    Json list = Json::array();
    std::uint32_t number = 0;
    assembly.symbols.forEach([&](std::string_view name, std::uint32_t line) {
        const Assembly::Line& record = assembly.lines[line];
        const auto length = static_cast<std::uint32_t>(name.size());
        list.push_back({{"name", std::string(name)},
                        {"detail", valueText(assembly.definitionOf(number++).value)},
                        {"kind", symbolKind(record)},
                        {"range", range(line, 0, std::max(length, lineLength(document.text, line)))},
                        {"selectionRange", range(line, 0, length)}});
    });
    return list;
}

Json LanguageServer::highlights(const Document& document, const Json& params) const {
    const Assembly& assembly = *document.assembly;
    const Json& place = params.at("position");
    Json list = Json::array();
    const auto symbol = symbolAt(assembly, place.at("line"), place.at("character"));
    if (!symbol)
        return list;
    const auto length = static_cast<std::uint32_t>(assembly.symbols.wordAt(*symbol).size());
    list.push_back(
        {{"range", range(assembly.symbols.valueAt(*symbol), 0, length)}, {"kind", writeHighlight}});
    for (const Assembly::SymbolUse& use : assembly.uses)
        if (use.symbol == *symbol)
            list.push_back({{"range", range(use.line, use.column - 1, use.column - 1 + length)},
                            {"kind", readHighlight}});
    return list;
}

Json LanguageServer::workspaceSymbols(const std::string& query) const {
    const std::string wanted = upperCased(query);
    Json list = Json::array();
    for (const auto& [uri, document] : documents)
        document->assembly->symbols.forEach([&](std::string_view name, std::uint32_t line) {
            if (name.find(wanted) == std::string_view::npos)
                return;
            const auto length = static_cast<std::uint32_t>(name.size());
            list.push_back({{"name", std::string(name)},
                            {"kind", symbolKind(document->assembly->lines[line])},
                            {"location", {{"uri", uri}, {"range", range(line, 0, length)}}}});
        });
    return list;
}

// Every mnemonic and directive, then the document's symbols; the client filters
// them by what is typed.
Json LanguageServer::completion(const Document& document) const {
    Json items = Json::array();
    TBrenvikEngine::instructionSet().forEach([&](std::string_view word, Assembly::Line::LineCode code) {
        Assembly::Line line;
        line.kind = code;
        std::string detail = "directive";
        if (line.hasOpcode()) {
            const InstructionTiming timing = timingFor(line.opcode());
            detail = "opcode " + octalText(line.opcode(), 3) + ", " + std::to_string(timing.length) +
                     (timing.length == 1 ? " byte" : " bytes");
        }
        items.push_back({{"label", std::string(word)}, {"kind", keywordCompletion}, {"detail", detail}});
    });
    const Assembly& assembly = *document.assembly;
    for (std::uint32_t number = 0; number < assembly.symbols.size(); ++number) {
        const Assembly::Definition definition = assembly.definitionOf(number);
        items.push_back({{"label", std::string(assembly.symbols.wordAt(number))},
                         {"kind", definition.isLabel ? variableCompletion : constantCompletion},
                         {"detail", valueText(definition.value)}});
    }
    return items;
}

// Each line's address and bytes in octal before it, as the code column shows them.
Json LanguageServer::inlayHints(const Document& document, const Json& wanted) const {
    const Assembly& assembly = *document.assembly;
    Json hints = Json::array();
    const std::uint32_t first = wanted.at("start").at("line");
    const std::uint32_t last = wanted.at("end").at("line");
    for (std::uint32_t line = first; line <= last && line < assembly.lines.size(); ++line)
        if (const std::string code = codeText(assembly.lines[line]); !code.empty())
            hints.push_back({{"position", position(line, 0)}, {"label", code}, {"paddingRight", true}});
    return hints;
}

Json LanguageServer::semanticTokens(const Document& document) const {
    Json data = Json::array();
    std::uint32_t lastLine = 0, lastStart = 0;
    for (std::uint32_t line = 0; line < document.text.lineCount(); ++line)
        for (const LineToken& token : tokensOfLine(document.text.line(line), document.assembly->syntax,
                                                   document.assembly->commentOf(line))) {
            data.push_back(line - lastLine);
            data.push_back(line == lastLine ? token.start - lastStart : token.start);
            data.push_back(token.end - token.start);
            data.push_back(static_cast<int>(token.kind));
            data.push_back(0);
            lastLine = line;
            lastStart = token.start;
        }
    return {{"data", data}};
}
