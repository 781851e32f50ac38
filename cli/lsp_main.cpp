// brenvik-lsp: the Language Server Protocol over standard input and output.
// Standard error carries the server's own log; it never ends on bad input.

#include "CommandConventions.h"
#include "LanguageServer.h"
#include "LspFraming.h"

#include <csignal>
#include <iostream>

namespace {

const CommandDescription command{
    "brenvik-lsp", "Usage: brenvik-lsp\n",
    "Serves the Language Server Protocol for Intel 8008 sources over standard input and\n"
    "output, from Brenvik's assembler: diagnostics, hover, definitions, references,\n"
    "highlights, symbols, completion, inlay hints with each line's address and bytes,\n"
    "and semantic tokens. An editor starts it; it takes no arguments.\n"};

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const std::optional<int> answered = answerHelpOrVersion(args, command, std::cout, std::cerr))
        return *answered;
    if (!args.empty()) {
        const bool option = args.front().size() > 1 && args.front()[0] == '-';
        std::cerr << "brenvik-lsp: " << (option ? "unrecognized option '" : "unexpected argument '")
                  << args.front() << "'\n"
                  << command.usage;
        return exitFailure;
    }
    std::ios::sync_with_stdio(false);
    LanguageServer server;
    while (const std::optional<LspFrame> frame = readLspFrame(std::cin)) {
        if (!frame->problem.empty()) {
            std::cerr << "brenvik-lsp: " << frame->problem << '\n';
            continue;
        }
        const auto message = LanguageServer::Json::parse(frame->content, nullptr, false);
        std::vector<LanguageServer::Json> answers;
        if (message.is_discarded())
            answers.push_back({{"jsonrpc", "2.0"},
                               {"id", nullptr},
                               {"error", {{"code", -32700}, {"message", "the message is not JSON"}}}});
        else
            answers = server.handle(message);
        // A change is assembled once the messages that came with it are read.
        if (std::cin.rdbuf()->in_avail() <= 0)
            for (auto& published : server.settle())
                answers.push_back(std::move(published));
        for (const auto& answer : answers)
            writeLspFrame(std::cout,
                          answer.dump(-1, ' ', false, LanguageServer::Json::error_handler_t::replace));
        if (!std::cout)
            return exitFailure; // the client is gone
        if (server.exitRequested())
            return server.exitStatus();
    }
    return server.exitRequested() ? server.exitStatus() : 1;
}
