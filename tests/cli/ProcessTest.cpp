// brenvik-asm as a script runs it: a separate process with its standard streams
// redirected.

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

struct Outcome {
    int status;
    std::string err;
};

// Runs `arguments` after the program in a shell, which may redirect its streams.
Outcome brenvikAsm(const TempFolder& folder, const std::string& arguments) {
    const std::string err = folder.file("stderr");
    const std::string command = std::string(BRENVIK_ASM) + " " + arguments + " 2>" + err;
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TempFolder::read(err)};
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

} // namespace
