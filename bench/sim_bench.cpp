// The simulator flat out on a CPU-bound program (nested loops of loads,
// arithmetic, rotates, memory reads and writes, and calls), run by the runner
// without and with the counts of executions per address.
// usage: sim_bench [PASSES [RUNS]] [--write FILE]

#include "BenchArguments.h"
#include "Brenvik.h"
#include "BusyProgram.h"
#include "HeadlessTextArea.h"
#include "Program.h"
#include "Runner.h"

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
    // Through the runner, as brenvik-sim and the editor run programs: without and with counts.
    const Program program(assembly);
    for (const bool counting : {false, true}) {
        std::vector<double> seconds;
        Runner runner;
        runner.keepHistory(false);
        runner.countExecutions(counting);
        for (int run = 0; run < runs; ++run) {
            std::string reason;
            runner.load(program, reason);
            runner.runOn();
            const auto start = std::chrono::steady_clock::now();
            const std::optional<Stop> stop = runner.advance(Machine::unlimited);
            seconds.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            if (!stop || stop->reason != StopReason::halted)
                return 1;
        }
        std::sort(seconds.begin(), seconds.end());
        const double best = seconds.front();
        const Machine& machine = runner.machine();
        std::printf("%s\n", counting ? "counting executions per address:" : "counts off:");
        std::printf("  passes            %zu\n", passes);
        std::printf("  instructions      %llu\n", static_cast<unsigned long long>(machine.instructions));
        std::printf("  states            %llu\n", static_cast<unsigned long long>(machine.states));
        std::printf("  best run          %.3f s of %d\n", best, runs);
        std::printf("  instructions/s    %.1f million\n", machine.instructions / best / 1e6);
        std::printf("  states/s          %.1f million (%.0f times an 8008 at 500 kHz)\n",
                    machine.states / best / 1e6, machine.states / best / 250000.0);
    }
    return 0;
}
