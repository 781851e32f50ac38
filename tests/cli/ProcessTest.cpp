// brenvik-asm and brenvik-sim as a script runs them: separate processes with
// their standard streams redirected, into pipes that close and files that fill.

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status;
    std::string err;
};

// Runs `arguments` after the program in a shell, which may redirect its streams.
Outcome run(const char* program, const TempFolder& folder, const std::string& arguments) {
    const std::string err = folder.file("stderr");
    const std::string command = std::string(program) + " " + arguments + " 2>" + err;
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TempFolder::read(err)};
}

Outcome brenvikAsm(const TempFolder& folder, const std::string& arguments) {
    return run(BRENVIK_ASM, folder, arguments);
}

Outcome brenvikSim(const TempFolder& folder, const std::string& arguments) {
    return run(BRENVIK_SIM, folder, arguments);
}

// Runs `arguments` with standard output into a pipe whose reader leaves after ten bytes.
Outcome intoClosingPipe(const char* program, const TempFolder& folder, const std::string& arguments) {
    const std::string status = folder.file("status"), err = folder.file("stderr");
    const std::string command = "{ " + std::string(program) + " " + arguments + " 2>" + err + "; echo $? >" +
                                status + "; } | head -c 10 >/dev/null";
    if (std::system(command.c_str()) != 0)
        return {-1, {}};
    return {std::stoi(TempFolder::read(status)), TempFolder::read(err)};
}

TEST(Process, StandardOutputThatCannotBeWrittenIsAFailure) {
    const TempFolder folder;
    const std::string source = folder.write("prog.asm", "\tRET\n");
    const Outcome full = brenvikAsm(folder, "-o - " + source + " >/dev/full");
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err,
              "brenvik-asm: cannot write standard output: No space left on device\n1 bytes assembled\n");
    const Outcome closed = brenvikAsm(folder, "-l -o - " + source + " >&-");
    EXPECT_EQ(closed.status, 2);
    EXPECT_EQ(closed.err.substr(0, closed.err.find('\n')),
              "brenvik-asm: cannot write standard output: Bad file descriptor");
}

TEST(Process, AnEndlessSourceIsRefused) {
    const TempFolder folder;
    const Outcome zero = brenvikAsm(folder, "-o - /dev/zero");
    EXPECT_EQ(zero.status, 2);
    EXPECT_EQ(zero.err, "brenvik-asm: cannot read /dev/zero: larger than 256 MiB, too large for a source\n");
}

TEST(Process, AReaderThatLeavesIsAFailedWriteNotADeath) {
    const TempFolder folder;
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += "\tLAI 1\n";
    const Outcome listing =
        intoClosingPipe(BRENVIK_ASM, folder, "-l -o - " + folder.write("long.asm", lines));
    EXPECT_EQ(listing.status, 2);
    EXPECT_EQ(listing.err.substr(0, listing.err.find('\n')),
              "brenvik-asm: cannot write standard output: Broken pipe");

    const Outcome spew =
        intoClosingPipe(BRENVIK_SIM, folder, folder.write("spew.asm", "L\tLAI \"x\"\n\tOUT 8\n\tJMP L\n"));
    EXPECT_EQ(spew.status, 2);
    EXPECT_EQ(spew.err, "brenvik-sim: cannot write standard output: Broken pipe\n");
}

TEST(Process, ATraceThatCannotBeWrittenIsAFailure) {
    const TempFolder folder;
    const std::string source = folder.write("t.asm", "\tLAI 1\n\tHLT\n");
    EXPECT_EQ(brenvikSim(folder, "--trace " + source).status, 0);
    const std::string command = std::string(BRENVIK_SIM) + " --trace " + source + " 2>/dev/full";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
}

// The program's output as it comes, waited for at most a few seconds.
std::string awaitOutput(FILE* from, std::size_t bytes) {
    constexpr int patienceMilliseconds = 5000;
    std::string got;
    pollfd ready{::fileno(from), POLLIN, 0};
    while (got.size() < bytes && ::poll(&ready, 1, patienceMilliseconds) > 0) {
        char c;
        if (::read(ready.fd, &c, 1) != 1)
            break;
        got += c;
    }
    return got;
}

TEST(Process, KeysFromANamedPipeReachTheProgramAsTheyAreWritten) {
    const TempFolder folder;
    // Echoes each key until a Q (operands are read in upper case).
    const std::string echo = folder.write(
        "echo.asm", "W\tINP 0\n\tNDI 1\n\tJTZ W\n\tINP 1\n\tOUT 8\n\tCPI \"q\"\n\tJFZ W\n\tHLT\n");
    const std::string fifo = folder.file("keys");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    FILE* program = ::popen((std::string(BRENVIK_SIM) + " --input " + fifo + " " + echo).c_str(), "r");
    ASSERT_NE(program, nullptr);
    const int keys = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(keys, 0);
    ASSERT_EQ(::write(keys, "a", 1), 1);
    EXPECT_EQ(awaitOutput(program, 1), "a") << "while the writer still holds the pipe open";
    ASSERT_EQ(::write(keys, "bQ", 2), 2);
    EXPECT_EQ(awaitOutput(program, 2), "bQ");
    ::close(keys);
    const int raw = ::pclose(program);
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 0);
}

} // namespace
