// brenvik-lsp's protocol: a session as a client drives it (initialize, a
// faulty document, hover, definition, references, symbols, a fix, shutdown),
// the framing of messages, and bad input that is answered, never fatal.

#include "LanguageServer.h"
#include "LspFraming.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Json = LanguageServer::Json;

const std::string uri = "file:///work/count.asm";
const std::string faulty = "COUNT\tEQU 3\n"     // line 0
                           "START\tLBI COUNT\n" // line 1
                           "LOOP\tDCB\n"        // line 2
                           "\tJFZ LOOP\n"       // line 3
                           "\tJMP NOWHERE\n"    // line 4
                           "\tLAI 300\n";       // line 5

class Session : public ::testing::Test {
  protected:
    LanguageServer server;
    int nextId = 1;

    std::vector<Json> send(const std::string& method, Json params, bool isRequest = true) {
        Json message{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
        if (isRequest)
            message["id"] = nextId++;
        return server.handle(message);
    }
    Json ask(const std::string& method, Json params) { return send(method, std::move(params)).at(0); }
    Json at(std::uint32_t line, std::uint32_t character) {
        return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
    }
    Json open(const std::string& text) {
        const auto out = send(
            "textDocument/didOpen",
            {{"textDocument", {{"uri", uri}, {"languageId", "asm8008"}, {"version", 1}, {"text", text}}}},
            false);
        return out.at(0);
    }

    void SetUp() override {
        const Json answer = ask("initialize", {{"capabilities", Json::object()}});
        ASSERT_TRUE(answer["result"]["capabilities"]["hoverProvider"]);
        send("initialized", Json::object(), false);
    }
};

TEST_F(Session, ADocumentIsAssembledAndItsFaultsPublished) {
    const Json published = open(faulty);
    EXPECT_EQ(published["method"], "textDocument/publishDiagnostics");
    const Json& found = published["params"]["diagnostics"];
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]["severity"], 1);
    EXPECT_EQ(found[0]["code"], "undefined-symbol");
    EXPECT_EQ(found[0]["range"],
              Json::parse(R"({"start":{"line":4,"character":5},"end":{"line":4,"character":12}})"));
    EXPECT_EQ(found[0]["message"],
              "undefined symbol 'NOWHERE'\nDefine the name as a label or with EQU, or check its spelling.");
    EXPECT_EQ(found[1]["severity"], 2);
    EXPECT_EQ(found[1]["code"], "immediate-range");
    EXPECT_EQ(found[1]["range"],
              Json::parse(R"({"start":{"line":5,"character":5},"end":{"line":5,"character":8}})"));

    // Changes are assembled once they stop coming, the last one only; the fix's faults go.
    for (const char* text : {"\tFOO\n", "\tRET\r\n"})
        EXPECT_TRUE(
            send("textDocument/didChange",
                 {{"textDocument", {{"uri", uri}, {"version", 2}}}, {"contentChanges", {{{"text", text}}}}},
                 false)
                .empty());
    const auto fixed = server.settle();
    ASSERT_EQ(fixed.size(), 1u);
    EXPECT_EQ(fixed.at(0)["params"]["diagnostics"], Json::array());
    EXPECT_TRUE(server.settle().empty());
}

TEST_F(Session, HoverDefinitionReferencesAndSymbolsComeFromTheAssembly) {
    open(faulty);
    const Json hover = ask("textDocument/hover", at(3, 6))["result"]["contents"]["value"];
    EXPECT_EQ(hover,
              "**LOOP** = 000002B (2), defined on line 3\n\n`000003  110 002 000`  opcode 110, 3 bytes, "
              "9-11 states");
    EXPECT_EQ(
        ask("textDocument/hover", at(1, 0))["result"]["contents"]["value"],
        "**START** = 000000B (0), defined on line 2\n\n`000000  016 003`  opcode 016, 2 bytes, 8 states");

    const Json definition = ask("textDocument/definition", at(1, 11))["result"]; // COUNT in LBI COUNT
    EXPECT_EQ(definition["range"],
              Json::parse(R"({"start":{"line":0,"character":0},"end":{"line":0,"character":5}})"));
    EXPECT_EQ(ask("textDocument/definition", at(0, 8))["result"], nullptr); // on the EQU, no name

    Json withDeclaration = at(2, 1);
    withDeclaration["context"] = {{"includeDeclaration", true}};
    const Json references = ask("textDocument/references", withDeclaration)["result"];
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[1]["range"]["start"], Json::parse(R"({"line":3,"character":5})"));

    const Json symbols = ask("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
    std::vector<std::pair<std::string, int>> named;
    for (const Json& symbol : symbols)
        named.emplace_back(symbol["name"], symbol["kind"]);
    EXPECT_EQ(named, (std::vector<std::pair<std::string, int>>{{"COUNT", 14}, {"START", 12}, {"LOOP", 12}}));
}

TEST_F(Session, ADocumentIncludesFilesBesideItAndItsDefinitionsLeadThere) {
    const TempFolder folder;
    folder.write("my lib.inc", "; helpers\n\tLAA\nSEND:\tRET\n");
    const std::string program = "file://" + folder.file("prog.asm");
    const Json published = send("textDocument/didOpen",
                                {{"textDocument",
                                  {{"uri", program},
                                   {"languageId", "asm8008"},
                                   {"version", 1},
                                   {"text", "\tLAA\n\tINCLUDE \"my lib.inc\"\n\tCAL SEND\n"}}}},
                                false)
                               .at(0);
    EXPECT_EQ(published["params"]["diagnostics"], Json::array());
    const Json where = {{"textDocument", {{"uri", program}}}, {"position", {{"line", 2}, {"character", 6}}}};
    const Json definition = ask("textDocument/definition", where)["result"];
    EXPECT_EQ(definition["uri"], "file://" + folder.file("my%20lib.inc"));
    EXPECT_EQ(definition["range"]["start"], Json::parse(R"({"line":2,"character":0})"));
    EXPECT_EQ(
        ask("textDocument/hover", where)["result"]["contents"]["value"].get<std::string>().substr(0, 53),
        "**SEND** = 000002B (2), defined in my lib.inc, line 3");
}

TEST_F(Session, CompletionHintsHighlightsAndTokensFollowTheDialect) {
    open(faulty);
    const Json items = ask("textDocument/completion", at(5, 2))["result"];
    const auto item = [&](const std::string& label) {
        for (const Json& candidate : items)
            if (candidate["label"] == label)
                return candidate["detail"].get<std::string>();
        return std::string("none");
    };
    EXPECT_EQ(item("LAI"), "opcode 006, 2 bytes");
    EXPECT_EQ(item("ORG"), "directive");
    EXPECT_EQ(item("COUNT"), "000003B (3)");

    const Json hints =
        ask("textDocument/inlayHint",
            {{"textDocument", {{"uri", uri}}}, {"range", Json::parse(R"({"start":{"line":0,"character":0},
                                                                 "end":{"line":1,"character":0}})")}})
            ["result"];
    ASSERT_EQ(hints.size(), 2u);
    EXPECT_EQ(hints[1]["label"], "000000  016 003");

    const Json highlights = ask("textDocument/documentHighlight", at(2, 1))["result"];
    ASSERT_EQ(highlights.size(), 2u);
    EXPECT_EQ(highlights[0]["kind"], 3); // the definition writes, the use reads
    EXPECT_EQ(highlights[1]["range"]["start"], Json::parse(R"({"line":3,"character":5})"));
    const Json found = ask("workspace/symbol", {{"query", "co"}})["result"];
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]["name"], "COUNT");

    open("LOOP\tJFZ LOOP ; back\n* all comment\n\tDB \"A\",1+X'HI\n\tORG 10B\n");
    const Json tokens =
        ask("textDocument/semanticTokens/full", {{"textDocument", {{"uri", uri}}}})["result"]["data"];
    // label, mnemonic, name, comment; a comment line; directive, string, operator, number, operator, name,
    // operator, modifier; directive, number.
    EXPECT_EQ(tokens,
              Json::parse("[0,0,4,2,0, 0,5,3,0,0, 0,4,4,7,0, 0,5,6,5,0, 1,0,13,5,0,"
                          " 1,1,2,1,0, 0,3,3,4,0, 0,3,1,6,0, 0,1,1,3,0, 0,1,1,6,0, 0,1,1,7,0, 0,1,1,6,0,"
                          " 0,1,2,6,0, 1,1,3,1,0, 0,4,3,3,0]"));
}

TEST_F(Session, BadMessagesAreAnsweredAndTheServerGoesOn) {
    const auto errorOf = [](const std::vector<Json>& out) { return out.at(0)["error"]["code"].get<int>(); };
    EXPECT_EQ(errorOf(server.handle(Json::array())), -32600);
    EXPECT_EQ(errorOf(server.handle({{"jsonrpc", "2.0"}, {"id", 9}})), -32600);
    EXPECT_EQ(errorOf(send("no/suchMethod", Json::object())), -32601);
    EXPECT_EQ(errorOf(send("textDocument/hover", at(0, 0))), -32803); // no such document open
    EXPECT_EQ(errorOf(send("textDocument/hover", {{"textDocument", 7}})), -32602);
    EXPECT_TRUE(send("textDocument/didOpen", {{"textDocument", "garbage"}}, false).empty());
    EXPECT_TRUE(
        send("textDocument/didChange", {{"textDocument", {{"uri", uri}}}, {"contentChanges", {}}}, false)
            .empty());                                                  // of a document not open
    EXPECT_EQ(open("\tRET\n")["params"]["diagnostics"], Json::array()); // still serving

    EXPECT_EQ(ask("shutdown", nullptr)["result"], nullptr);
    send("exit", nullptr, false);
    EXPECT_TRUE(server.exitRequested());
    EXPECT_EQ(server.exitStatus(), 0);
}

TEST(LanguageServer, ExitWithoutShutdownFailsAndRequestsWaitForInitialize) {
    LanguageServer server;
    const auto early = server.handle({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "textDocument/hover"}});
    EXPECT_EQ(early.at(0)["error"]["code"], -32002);
    server.handle({{"jsonrpc", "2.0"}, {"method", "exit"}});
    EXPECT_TRUE(server.exitRequested());
    EXPECT_EQ(server.exitStatus(), 1);
}

TEST(LspFraming, ReadsFramesAndSaysWhatIsWrongWithOthers) {
    std::stringstream in;
    writeLspFrame(in, "{\"a\":1}");
    in << "Content-Type: application/vscode-jsonrpc; charset=utf-8\r\ncontent-length: 2\r\n\r\n{}";
    in << "X-Nothing: 1\r\n\r\n";
    in << "Content-Length: " << largestLspMessage + 1 << "\r\n\r\n";
    const auto first = readLspFrame(in);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->content, "{\"a\":1}");
    EXPECT_EQ(readLspFrame(in)->content, "{}");
    EXPECT_EQ(readLspFrame(in)->problem, "a message without a valid Content-Length");
    EXPECT_NE(readLspFrame(in)->problem.find("more than the server reads"), std::string::npos);
    EXPECT_FALSE(readLspFrame(in)); // the end of the input

    std::stringstream cut("Content-Length: 10\r\n\r\n{}");
    EXPECT_FALSE(readLspFrame(cut)); // the input ended inside the message
}

} // namespace
