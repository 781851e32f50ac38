// Whole assembly runs over a generated program on the headless text area.
// usage: engine_bench [LINES [RUNS]] [--write FILE] [--as]
// --as: the same program in the syntax of the Macroassembler AS.

#include "BenchArguments.h"
#include "Brenvik.h"
#include "HeadlessTextArea.h"
#include "ProgramGenerator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/resource.h>

int main(int argc, char** argv) {
    const auto [lineCount, runs, writeTo] = benchArguments(argc, argv, {200000, 20, {}});
    const bool asSyntax = std::find_if(argv + 1, argv + argc, [](const char* arg) {
                              return std::string_view(arg) == "--as";
                          }) != argv + argc;

    std::vector<std::string> program = asSyntax ? generateAsProgram(lineCount) : generateProgram(lineCount);
    if (!writeTo.empty()) {
        std::ofstream out(writeTo, std::ios::binary);
        for (const std::string& line : program)
            out << line << "\r\n";
    }

    HeadlessTextArea text(std::move(program));
    TBrenvikEngine engine(text);
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        engine.run();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("lines             %zu\n", lineCount);
    std::printf("errors            %d\n", engine.GetErrorCount());
    std::printf("bytes assembled   %u\n", engine.GetAssembly().bytesAssembled);
    std::printf("runs              %d\n", runs);
    std::printf("best run          %.2f ms  (%.0f lines/s)\n", seconds.front() * 1e3,
                lineCount / seconds.front());
    std::printf("median run        %.2f ms  (%.0f lines/s)\n", seconds[seconds.size() / 2] * 1e3,
                lineCount / seconds[seconds.size() / 2]);
    std::printf("peak memory       %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return engine.GetErrorCount() == 0 ? 0 : 1;
}
