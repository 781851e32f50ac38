// The simulator flat out on a CPU-bound program: nested loops of loads,
// arithmetic, rotates, memory reads and writes, and calls.
// usage: sim_bench [PASSES [RUNS]] [--write FILE]

#include "BenchArguments.h"
#include "Brenvik.h"
#include "BusyProgram.h"
#include "HeadlessTextArea.h"
#include "Machine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const auto [passes, runs, writeTo] = benchArguments(argc, argv, {100, 3, {}});
    const std::vector<std::string> source = busyProgram(static_cast<unsigned>(passes));
    if (!writeTo.empty()) {
        std::ofstream out(writeTo, std::ios::binary);
        for (const std::string& line : source)
            out << line << "\n";
        return 0;
    }

    HeadlessTextArea text(source);
    TBrenvikEngine engine(text);
    const Assembly& assembly = engine.run();
    if (assembly.errorCount > 0) {
        std::fprintf(stderr, "the program has errors\n");
        return 1;
    }
    std::vector<double> seconds;
    Machine machine;
    for (int run = 0; run < runs; ++run) {
        machine = Machine{};
        assembly.GetCode([&](std::uint32_t address, std::uint8_t byte) { machine.memory[address] = byte; });
        const auto start = std::chrono::steady_clock::now();
        const StopReason stop = machine.run();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (stop != StopReason::halted)
            return 1;
    }
    std::sort(seconds.begin(), seconds.end());
    const double best = seconds.front();
    std::printf("passes            %zu\n", passes);
    std::printf("instructions      %llu\n", static_cast<unsigned long long>(machine.instructions));
    std::printf("states            %llu\n", static_cast<unsigned long long>(machine.states));
    std::printf("best run          %.3f s of %d\n", best, runs);
    std::printf("instructions/s    %.1f million\n", machine.instructions / best / 1e6);
    std::printf("states/s          %.1f million (%.0f times an 8008 at 500 kHz)\n",
                machine.states / best / 1e6, machine.states / best / 250000.0);
    return 0;
}
