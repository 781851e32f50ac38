// brenvik-sim run in-process: loading programs, the console, every exit status
// and message, the state line and the trace.

#include "BytesRead.h"
#include "SimCommandLine.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome simulate(const std::vector<std::string>& args, const std::string& keys = {}) {
    GivenKeys input(keys);
    std::ostringstream out, err;
    const int status = runSimulator(args, input, out, err);
    return {status, out.str(), err.str()};
}

// The line after the last "\n" but one: what --registers prints last.
std::string lastLine(const std::string& text) {
    const std::size_t end = text.rfind('\n');
    return text.substr(text.rfind('\n', end - 1) + 1, end - text.rfind('\n', end - 1) - 1);
}

class Simulator : public ::testing::Test {
  protected:
    TempFolder folder;
};

// Keys as a person types them: one at a time, each once the program waits for it.
class TypedOneByOne : public KeySource {
  public:
    explicit TypedOneByOne(const std::string& text) : keys(asTypedKeys(text, afterReturn)) {}
    std::string read(bool wait) override {
        if (!wait || keys.empty())
            return {};
        const std::string key = keys.substr(0, 1);
        keys.erase(0, 1);
        return key;
    }
    bool ended() const override { return keys.empty(); }

  private:
    bool afterReturn = false;
    std::string keys;
};

// Every example, run on its machine (the arguments of its golden NAME.args)
// with its golden input typed, prints its golden output.
class ExampleRun : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleRun, PrintsWhatItShould) {
    const fs::path run = fs::path(GOLDEN_DIR) / "run";
    const std::string name = GetParam();
    std::vector<std::string> args;
    if (fs::exists(run / (name + ".args"))) {
        std::istringstream words(TempFolder::read((run / (name + ".args")).string()));
        for (std::string word; words >> word;)
            args.push_back(word);
    }
    args.push_back(std::string(EXAMPLES_DIR) + "/" + name + ".asm");
    const fs::path in = run / (name + ".in");
    TypedOneByOne keys(fs::exists(in) ? TempFolder::read(in.string()) : std::string());
    std::ostringstream out, err;
    const Outcome o{runSimulator(args, keys, out, err), out.str(), err.str()};
    EXPECT_EQ(o.out, TempFolder::read((run / (name + ".out")).string()));
    // A program that reads its terminal to the end stops waiting for more.
    EXPECT_EQ(o.status, name == "echo" || name.ends_with("_echo") ? 4 : 0) << o.err;
}

std::vector<std::string> examples() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(EXAMPLES_DIR))
        if (entry.path().extension() == ".asm")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleRun, ::testing::ValuesIn(examples()),
                         [](const auto& info) { return info.param; });

TEST_F(Simulator, HaltsWithTheStateLineOnRequest) {
    const std::string source = folder.write("p.asm", "\tLAI 5\n\tADI 3\n\tHLT\n");
    const Outcome o = simulate({"--registers", source});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "PC=000005 A=010 B=000 C=000 D=000 E=000 H=000 L=000 CY=0 Z=0 S=0 P=0 SP=0 states=20 "
                     "instructions=3\n");
}

TEST_F(Simulator, AnAssemblyWithErrorsIsReportedAsTheAssemblerWould) {
    const std::string source = folder.write("bad.asm", "\tFOO\n\tLAI 300\n");
    const Outcome o = simulate({source});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err,
              source + ":1:2: error: unknown instruction or directive 'FOO'\n\tFOO\n\t^\n" + source +
                  ":2:6: warning: immediate value 300 does not fit in a byte; its low byte, 054B, is used\n"
                  "\tLAI 300\n\t    ^\n1 Error in Assembly!\n");
    EXPECT_EQ(o.out, "");
}

TEST_F(Simulator, StartsWhereToldByNumberOrLabel) {
    const std::string source = folder.write("s.asm", "\tLAI 1\n\tHLT\nTWO\tLAI 2\n\tHLT\n");
    EXPECT_EQ(lastLine(simulate({"--registers", "--start", "TWO", source}).err).substr(0, 15),
              "PC=000006 A=002");
    EXPECT_EQ(lastLine(simulate({"--registers", "--start=3", source}).err).substr(0, 15), "PC=000006 A=002");
    EXPECT_EQ(lastLine(simulate({"--registers", "--start", "3B", source}).err).substr(0, 15),
              "PC=000006 A=002");
    for (const std::string hexadecimal : {"0x3", "0X03", "3H", "03h"})
        EXPECT_EQ(lastLine(simulate({"--registers", "--start", hexadecimal, source}).err).substr(0, 15),
                  "PC=000006 A=002")
            << hexadecimal;
    for (const std::string nowhere : {"NOWHERE", "037777", "0x4000", "0xG", "AH"}) {
        const Outcome o = simulate({"--start", nowhere, source});
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.err, "brenvik-sim: --start " + nowhere + ": no address in memory (000000B to 037777B)\n");
    }
}

TEST_F(Simulator, LoadsIntelHexAndBinaryImages) {
    const std::string hex =
        folder.write("p.hex", ":03001000060700E0\r\n:00000001FF\r\n"); // LAI 7, HLT at 20B
    const Outcome fromHex = simulate({"--registers", "--start", "20B", hex});
    EXPECT_EQ(fromHex.status, 0) << fromHex.err;
    EXPECT_EQ(fromHex.err.substr(0, 15), "PC=000023 A=007");

    const std::string image =
        folder.write("p.bin", std::string("\006\101\121\000", 4)); // LAI "A", OUT 8, HLT
    const Outcome fromImage = simulate({"--load", "100B", "--start", "100B", image});
    EXPECT_EQ(fromImage.status, 0) << fromImage.err;
    EXPECT_EQ(fromImage.out, "A");
    const Outcome inHexadecimal = simulate({"--load", "0x40", "--start", "40H", image});
    EXPECT_EQ(inHexadecimal.out, "A") << inHexadecimal.err;
}

TEST_F(Simulator, AnEndlessImageIsReadOnlyAsFarAsMemoryGoes) {
    const std::uint64_t before = bytesRead();
    const Outcome o = simulate({"--load", "30000B", "/dev/zero"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err,
              "brenvik-sim: /dev/zero: address 040000 is beyond the 8008's 16 KiB of memory (000000 to "
              "037777)\n");
    EXPECT_LE(bytesRead() - before, 010000u + 1 + 4096) << "what fits, one byte more, and the source's";
}

TEST_F(Simulator, RefusesWhatCannotBeLoaded) {
    struct Case {
        std::string file, contents;
        std::vector<std::string> options;
        std::string message;
    };
    const std::vector<Case> cases{
        {"beyond.asm", "\tORG 37777B\n\tLAI 1\n", {}, "address 040000 is beyond the 8008's 16 KiB of memory"},
        {"beyond.hex",
         ":01400000FFC0\n:00000001FF\n",
         {},
         "address 040000 is beyond the 8008's 16 KiB of memory"},
        {"high.bin",
         "\001\002",
         {"--load", "37777B"},
         "address 040000 is beyond the 8008's 16 KiB of memory"},
        {"sum.hex", ":0100000000FE\n:00000001FF\n", {}, "sum.hex:1: wrong checksum"},
        {"text.hex", "hello\n", {}, "text.hex:1: a record begins with ':'"},
        {"cut.hex", ":0100000000FF\n", {}, "cut.hex: no end record"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(folder.write(c.file, c.contents));
        const Outcome o = simulate(args);
        EXPECT_EQ(o.status, 2) << c.file;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << c.file << ": " << o.err;
    }
    const Outcome missing = simulate({folder.file("missing.bin")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "brenvik-sim: cannot read " + folder.file("missing.bin") + ": No such file or directory\n");
}

TEST_F(Simulator, StopsAtTheStateLimitAndOnAnUndefinedOpcode) {
    const Outcome forever = simulate({"--max-states", "1000", folder.write("loop.asm", "L\tJMP L\n")});
    EXPECT_EQ(forever.status, 3);
    EXPECT_EQ(forever.err, "brenvik-sim: stopped after 1001 states (--max-states)\n");

    const Outcome undefined = simulate({folder.write("bad.bin", std::string("\002\042", 2))});
    EXPECT_EQ(undefined.status, 3);
    EXPECT_EQ(undefined.err, "brenvik-sim: undefined opcode 042 at 000001\n");
}

TEST_F(Simulator, WaitsForInputAtTheEndOfInput) {
    const std::string source =
        folder.write("in.asm", "W\tINP 0\n\tNDI 1\n\tJTZ W\n\tINP 1\n\tOUT 8\n\tJMP W\n");
    const Outcome o = simulate({source}, "ab\nc");
    EXPECT_EQ(o.status, 4);
    EXPECT_EQ(o.out, "ab\nc");
    EXPECT_EQ(o.err, "brenvik-sim: waiting for input at end of input\n");
}

TEST_F(Simulator, TracesEveryInstruction) {
    const Outcome o = simulate({"--trace", folder.write("t.asm", "\tLAI 377B\n\tJMP 5\n\tHLT\n")});
    EXPECT_EQ(o.err, "000000  006 377     LAI 377         A=377 B=000 C=000 D=000 E=000 H=000 L=000 CY=0 Z=0 "
                     "S=0 P=0 SP=0\n"
                     "000002  104 005 000 JMP 000005      A=377 B=000 C=000 D=000 E=000 H=000 L=000 CY=0 Z=0 "
                     "S=0 P=0 SP=0\n"
                     "000005  000         HLT             A=377 B=000 C=000 D=000 E=000 H=000 L=000 CY=0 Z=0 "
                     "S=0 P=0 SP=0\n");
}

TEST_F(Simulator, ProfilesEachLineThatRanTheBusiestFirst) {
    // By hand: LBI 8 states; DCB 3 x 5; JFZ taken twice (11) and not once (9); HLT 4: 58 in all.
    const std::string source = folder.write("loop.asm", "\tLBI 3\nLOOP\tDCB\n\tJFZ LOOP\n\tHLT\n");
    const std::string table = "  LINE  ADDRESS  EXECUTIONS      STATES   SHARE  SOURCE\n"
                              "     3   000003           3          31   53.4%          JFZ LOOP\n"
                              "     2   000002           3          15   25.9%  LOOP    DCB\n"
                              "     1   000000           1           8   13.8%          LBI 3\n"
                              "     4   000006           1           4    6.9%          HLT\n"
                              "TOTAL                     8          58  100.0%\n";
    const Outcome toError = simulate({"--profile", "-", source});
    EXPECT_EQ(toError.status, 0);
    EXPECT_EQ(toError.err, table);
    EXPECT_EQ(simulate({"--profile", folder.file("loop.prof"), source}).status, 0);
    EXPECT_EQ(TempFolder::read(folder.file("loop.prof")), table);

    // Without lines, by address, each with its instruction.
    const std::string image = folder.write("loop.bin", std::string("\016\003\011\110\002\000\000", 7));
    const Outcome byAddress = simulate({"--profile", "-", image});
    EXPECT_NE(byAddress.err.find("     -   000003           3          31   53.4%  JFZ 000002\n"),
              std::string::npos)
        << byAddress.err;
}

TEST_F(Simulator, RunsOnTheBoardItIsToldOfWithItsRom) {
    const Outcome list = simulate({"--list-machines"});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.out.starts_with("console     16 KiB of RAM")) << list.out;
    EXPECT_NE(list.out.find("\n8008-sbc    the 8008-SBC: "), std::string::npos);
    // A ROM of our own in the board's EPROM: RST 1 at 0, at 8 (the EPROM still)
    // JMP 020013 into its window, there LAI 1 and OUT 10, after which the window
    // is bank 1, whose LAI 2 and HLT follow.
    std::string rom(040000, '\0');
    const std::string boot{'\x0D', 0,      0,      0, 0,      0,      0,      0, '\x44',
                           '\x0B', '\x20', '\x06', 1, '\x55', '\x43', '\x44', 0, '\x20'};
    rom.replace(0, boot.size(), boot);
    rom.replace(020000 + 016, 3, std::string{'\x06', 2, '\xFF'}); // bank 1: LAI 2, HLT
    const Outcome board =
        simulate({"--machine", "8008-sbc", "--rom", folder.write("e.bin", rom), "--registers"});
    EXPECT_EQ(board.status, 0) << board.err;
    EXPECT_NE(board.err.find("PC=020021 A=002"), std::string::npos) << board.err;
    const Outcome tooLarge =
        simulate({"--machine", "8008-sbc", "--rom", folder.write("big.bin", std::string(0100001, '\0'))});
    EXPECT_EQ(tooLarge.status, 2);
    EXPECT_NE(tooLarge.err.find("32769 bytes, more than the 8008-sbc's ROM holds (4 banks of 8192)"),
              std::string::npos);
}

TEST(SimulatorUsage, HelpAndVersionAnswerOnStandardOutput) {
    const Outcome help = simulate({"--help", "--bogus"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: brenvik-sim")) << help.out;
    EXPECT_NE(help.out.find("\n  --max-states N "), std::string::npos);
    const Outcome version = simulate({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "brenvik-sim (Brenvik) " PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");
}

TEST(SimulatorUsage, WrongArgumentsSayWhyThenShowTheUsage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong{
        {{}, "no PROGRAM given"},
        {{"--start"}, "--start needs a value"},
        {{"--input=", "p.asm"}, "--input needs a value, not an empty one"},
        {{"--max-states", "many", "p.asm"},
         "--max-states many: not a number of states (decimal digits only)"},
        {{"--max-states", "-1", "p.asm"}, "--max-states -1: not a number of states (decimal digits only)"},
        {{"--max-states=10B", "p.asm"}, "--max-states 10B: not a number of states (decimal digits only)"},
        {{"--bogus", "p.asm"}, "unknown option --bogus"},
        {{"--registers=yes", "p.asm"}, "--registers takes no value"},
        {{"a.asm", "b.asm"}, "one PROGRAM only, and b.asm is a second"},
        {{"a.asm", ""}, "an empty argument names no PROGRAM"},
        {{"--machine", "pdp8", "a.asm"}, "--machine pdp8: no such machine (console, 8008-sbc, scelbi)"},
        {{"--rom", "e.bin"}, "--rom e.bin: the console machine has no ROM"},
        {{"--machine=8008-sbc"}, "no PROGRAM given"},
        {{"--speed", "fast", "a.asm"}, "--speed fast: full or real"},
        {{"--pty=yes", "a.asm"}, "--pty takes no value"},
        {{"--pty", "--input", "k.txt", "a.asm"}, "--pty and --input k.txt would both give the keys"},
        {{"--memory", "4", "a.asm"}, "--memory 4: the console machine's memory is fixed"},
        {{"--memory=17", "--machine", "scelbi", "a.asm"}, "--memory 17: not a size the scelbi machine takes"},
        {{"--machine", "scelbi", "--memory", "4k", "a.asm"},
         "--memory 4k: not a size the scelbi machine takes"},
    };
    for (const auto& [args, why] : wrong) {
        const Outcome o = simulate(args);
        EXPECT_EQ(o.status, 2);
        EXPECT_TRUE(o.err.starts_with("brenvik-sim: " + why + "\nusage: brenvik-sim")) << o.err;
    }
}

} // namespace
