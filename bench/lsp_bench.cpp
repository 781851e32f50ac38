// brenvik-lsp's latency from a change to its diagnostics, in-process: the
// server assembles the changed document and the answer is written as JSON, as
// the program sends it. usage: lsp_bench [LINES [CHANGES]]

#include "BenchArguments.h"
#include "LanguageServer.h"
#include "ProgramGenerator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    const auto [lineCount, changes, unused] = benchArguments(argc, argv, {20000, 50, {}});
    using Json = LanguageServer::Json;
    std::string text;
    for (const std::string& line : generateProgram(lineCount))
        text += line + "\n";
    LanguageServer server;
    server.handle({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", Json::object()}});
    const std::string uri = "file:///bench.asm";
    server.handle({{"jsonrpc", "2.0"},
                   {"method", "textDocument/didOpen"},
                   {"params", {{"textDocument", {{"uri", uri}, {"text", text}}}}}});
    std::vector<double> seconds;
    std::size_t diagnostics = 0;
    for (int change = 0; change < changes; ++change) {
        // Every other change puts a fault into the first line, and the next takes it out again.
        const std::string changed = (change % 2 == 0 ? "\tFOO\n" : "") + text;
        const Json message{{"jsonrpc", "2.0"},
                           {"method", "textDocument/didChange"},
                           {"params",
                            {{"textDocument", {{"uri", uri}, {"version", change + 2}}},
                             {"contentChanges", {{{"text", changed}}}}}}};
        const auto start = std::chrono::steady_clock::now();
        std::size_t written = 0;
        server.handle(message);
        for (const Json& answer : server.settle()) // as the program does once no message waits
            written += answer.dump().size();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        diagnostics = std::max(diagnostics, written);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("lines             %zu\n", lineCount);
    std::printf("changes           %d\n", changes);
    std::printf("best change       %.2f ms\n", seconds.front() * 1e3);
    std::printf("median change     %.2f ms\n", seconds[seconds.size() / 2] * 1e3);
    std::printf("largest answer    %zu bytes\n", diagnostics);
}
