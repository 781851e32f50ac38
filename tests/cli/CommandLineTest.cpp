// brenvik-asm run in-process: its files, streams and exit codes.

#include "CommandLine.h"
#include "PermissionsEnforced.h"
#include "RunAssembler.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string program = "\tORG 100B\r\nSTART:\tLAI \"a\"\t; load\r\n\tJMP START\r\n";
const std::string programHex = ":050040000641444000F0\r\n:00000001FF\r\n";

class CommandLine : public ::testing::Test {
  protected:
    TempFolder folder;
};

TEST_F(CommandLine, WritesTheHexFileBesideTheSource) {
    const Result r = asm8008({folder.write("prog.asm", program)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "5 bytes assembled\n");
    EXPECT_EQ(TempFolder::read(folder.file("prog.hex")), programHex);
}

TEST_F(CommandLine, WritesTheHexFileWhereToldOrToStandardOutput) {
    const std::string source = folder.write("prog.asm", program);
    EXPECT_EQ(asm8008({"-o", folder.file("out.hex"), source}).status, 0);
    EXPECT_EQ(TempFolder::read(folder.file("out.hex")), programHex);
    const Result r = asm8008({source, "-o", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, programHex);
    EXPECT_FALSE(std::filesystem::exists(folder.file("prog.hex")));
}

TEST_F(CommandLine, ReplacesAnExistingHexFileKeepingItsMode) {
    const std::string hex = folder.write("prog.hex", "old");
    ::chmod(hex.c_str(), 0640);
    EXPECT_EQ(asm8008({folder.write("prog.asm", program)}).status, 0);
    EXPECT_EQ(TempFolder::read(hex), programHex);
    struct stat info {};
    ::stat(hex.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2);
}

TEST_F(CommandLine, ReportsEveryLineInErrorAndLeavesTheHexFileAlone) {
    const std::string hex = folder.write("bad.hex", "old");
    const std::string source = folder.write("bad.asm", "\tRET\n\tFOO 1\n\tLAI\nX\tJMP NOWHERE ; c\n");
    const Result r = asm8008({source});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, source + ":2:2: error: unknown instruction or directive 'FOO'\n\tFOO 1\n\t^\n" + source +
                         ":3:5: error: missing operand\n\tLAI\n\t   ^\n" + source +
                         ":4:7: error: undefined symbol 'NOWHERE'\nX\tJMP NOWHERE ; c\n \t    ^\n" +
                         "3 Errors in Assembly!\n");
    EXPECT_EQ(TempFolder::read(hex), "old");
}

TEST_F(CommandLine, SaysOneErrorInTheSingular) {
    const Result r = asm8008({folder.write("one.asm", "\tFOO\n"), "-o", "-"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("\n1 Error in Assembly!\n"), std::string::npos);
}

TEST_F(CommandLine, ProgramWithoutBytesSaysNothingButWritesTheEndRecord) {
    const Result r = asm8008({folder.write("none.asm", "X\tEQU 1\n; only a comment\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(TempFolder::read(folder.file("none.hex")), ":00000001FF\r\n");
}

TEST_F(CommandLine, ListsAddressesAndBytesBesideTheSource) {
    const std::string source = folder.write(
        "list.asm", "\tORG 100B\nX\tEQU 7\n\n\tTITLE t\n\tBSS\n\tJMP X\n\tDATA\n\tDB 1,2,3,4,5,6,7\n");
    const Result r = asm8008({"-l", source, "-o", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find(":")), "000100                      ORG 100B\n"
                                                "= 7                 X       EQU 7\n"
                                                "\n"
                                                "                            TITLE t\n"
                                                "000100                      BSS\n"
                                                "000100 ??? ??? ???          JMP X\n"
                                                "000103                      DATA\n"
                                                "000103 001 002 003          DB 1,2,3,4,5,6,7\n"
                                                "       004 005 006\n"
                                                "       007\n");
}

TEST_F(CommandLine, OnlyAFileOfTextIsIncluded) {
    // A folder cannot be read, and a device would never end.
    const Result r = asm8008(
        {"-o", "-", folder.write("prog.asm", "\tcpu 8008\n\tinclude \".\"\n\tinclude \"/dev/zero\"\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("prog.asm:2:10: error: cannot read the included file '.'"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("prog.asm:3:10: error: cannot read the included file '/dev/zero'"),
              std::string::npos)
        << r.err;
}

TEST_F(CommandLine, ListsEveryLineALineIncludesOrExpandsUnderIt) {
    folder.write("far.inc", "\torg 10h\n\tdb 1,2,3,4\n");
    const std::string source = folder.write(
        "list.asm",
        "\tcpu 8008new\npair\tmacro v\n\tmvi a,v\n\tinclude \"far.inc\"\n\tendm\n\tnop\n\tpair 7\n");
    const Result r = asm8008({"-l", source, "-o", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find(":")), "                            cpu 8008new\n"
                                                "                    pair    macro v\n"
                                                "                            mvi a,v\n"
                                                "                            include \"far.inc\"\n"
                                                "                            endm\n"
                                                "000000 300                  nop\n"
                                                "000001                      pair 7\n"
                                                "000001 006 007      +       mvi a,7\n"
                                                "                    +       include \"far.inc\"\n"
                                                "                    ++      org 10h\n"
                                                "000020 001 002 003  ++      db 1,2,3,4\n"
                                                "       004\n");
}

TEST_F(CommandLine, AcceptsEveryLineBreakAndPrintsLinesAsTheyStand) {
    const Result crlf = asm8008({"-l", folder.write("a.asm", "\tRET\r\n\tRLC\r\n"), "-o", "-"});
    const Result lf = asm8008({"-l", folder.write("b.asm", "\tRET\n\tRLC"), "-o", "-"});
    const Result cr = asm8008({"-l", folder.write("c.asm", "\tRET\r\tRLC\r"), "-o", "-"});
    EXPECT_EQ(crlf.out, lf.out);
    EXPECT_EQ(cr.out, lf.out);
    EXPECT_EQ(lf.out, "000000 007                  RET\n000001 002                  RLC\n"
                      ":020000000702F5\r\n:00000001FF\r\n");
}

TEST_F(CommandLine, ReadsUtf8AndLatin1AsOneBytePerCharacter) {
    const Result utf8 =
        asm8008({folder.write("u.asm", "\xEF\xBB\xBF\tDB \"\xC3\xA9\" ; \xE2\x82\xAC\n"), "-o", "-"});
    const Result latin1 = asm8008({folder.write("l.asm", "\tDB \"\xE9\" ; \xA4\n"), "-o", "-"});
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out, ":01000000E916\r\n:00000001FF\r\n");
    EXPECT_EQ(latin1.out, utf8.out);
}

TEST_F(CommandLine, CharacterWithoutASingleByteCodeIsAnError) {
    const std::string source = folder.write("w.asm", "\tDB \"\xE2\x82\xAC\"\n");
    const Result r = asm8008({source, "-o", "-"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
              source + ":1:6: error: character '\xE2\x82\xAC' has no 8-bit code");
}

TEST_F(CommandLine, FilesThatCannotBeReadOrWrittenExitWithTwo) {
    const Result missing = asm8008({folder.file("missing.asm")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "brenvik-asm: cannot read " + folder.file("missing.asm") + ": No such file or directory\n");

    const Result folderAsSource = asm8008({folder.path.string()});
    EXPECT_EQ(folderAsSource.status, 2);
    EXPECT_NE(folderAsSource.err.find("Is a directory"), std::string::npos);

    const std::string source = folder.write("ok.asm", "\tRET\n");
    const std::string unwritable = folder.file("no/such/folder/ok.hex");
    const Result noFolder = asm8008({source, "-o", unwritable});
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_EQ(noFolder.err, "brenvik-asm: cannot write " + unwritable + ": No such file or directory\n" +
                                "1 bytes assembled\n");
}

TEST_F(CommandLine, WarningsAreReportedButChangeNeitherStatusNorBytes) {
    const std::string source = folder.write("w.asm", "\tLAI 300\n\tLAI -1\n");
    const Result r = asm8008({source, "-o", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ":04000000062C06FFC5\r\n:00000001FF\r\n");
    EXPECT_EQ(r.err,
              source +
                  ":1:6: warning: immediate value 300 does not fit in a byte; its low byte, 054B, is used\n"
                  "\tLAI 300\n\t    ^\n4 bytes assembled\n");
    const Result quiet = asm8008({"-w", source, "-o", "-"});
    EXPECT_EQ(quiet.err, "4 bytes assembled\n");
    EXPECT_EQ(quiet.out, r.out);
}

TEST_F(CommandLine, NeverWritesOverItsSource) {
    const std::string source = folder.write("prog.asm", program);
    std::filesystem::create_hard_link(source, folder.file("same.hex"));
    for (const auto& output : {source, folder.file("same.hex")}) {
        const Result r = asm8008({"-o", output, source});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err,
                  "brenvik-asm: cannot write " + output + ": it is the source file\n5 bytes assembled\n");
    }
    const std::string hexSource = folder.write("hex.hex", program);
    EXPECT_EQ(asm8008({hexSource}).status, 2);
    EXPECT_EQ(TempFolder::read(source), program);
    EXPECT_EQ(TempFolder::read(hexSource), program);
}

TEST_F(CommandLine, RefusesAReadOnlyHexFileAndLeavesItAsItWas) {
    const std::string source = folder.write("prog.asm", program);
    const std::string hex = folder.write("prog.hex", "old");
    ::chmod(hex.c_str(), 0444);
    const PermissionsEnforced enforced;
    if (!enforced.holds())
        GTEST_SKIP() << "root could not give up its permission to write anything";
    const Result r = asm8008({source});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "brenvik-asm: cannot write " + hex + ": Permission denied\n5 bytes assembled\n");
    EXPECT_EQ(TempFolder::read(hex), "old");
}

TEST_F(CommandLine, WritesThroughALinkAndIntoADevice) {
    const std::string source = folder.write("prog.asm", program);
    const std::string target = folder.write("real.hex", "old");
    const std::string link = folder.file("link.hex");
    std::filesystem::create_symlink(target, link);
    EXPECT_EQ(asm8008({"-o", link, source}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(target), programHex);
    EXPECT_EQ(asm8008({"-o", "/dev/null", source}).status, 0);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// A stream whose every write fails as a full disk makes it fail.
class FullDisk : public std::streambuf {
  protected:
    int_type overflow(int_type) override {
        errno = ENOSPC;
        return traits_type::eof();
    }
    std::streamsize xsputn(const char*, std::streamsize) override {
        errno = ENOSPC;
        return 0;
    }
};

TEST_F(CommandLine, LiveListsEachLinesExecutionsAndStatesAndHowTheRunEnded) {
    const std::string countdown =
        folder.write("loop.asm", "\tLBI 5\nLOOP\tDCB\n\tJFZ LOOP\n\n\tLHLI 1234\n\tHLT\n");
    const Result r = asm8008({"--live", "-o", folder.file("loop.hex"), countdown});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "         1           8  000000 016 005              LBI 5\n"
                     "         5          25  000002 011          LOOP    DCB\n"
                     "         5          53  000003 110 002 000          JFZ LOOP\n"
                     "\n"
                     "         1          16  000006 056 004 066          LHLI 1234\n"
                     "                               322\n"
                     "         1           4  000012 000                  HLT\n"
                     "\n"
                     "Live run: halted at line 6 (000012) after 106 states\n");

    const std::string echo =
        folder.write("echo.asm", "WAIT\tINP 0\n\tNDA\n\tJTZ WAIT\n\tINP 1\n\tOUT 8\n\tJMP WAIT\n");
    const Result typed = asm8008({"--live", "--input", folder.write("keys", "ab"), "-o", "-", echo});
    EXPECT_NE(typed.out.find("         2          16  000005 103                  INP 1\n"),
              std::string::npos)
        << typed.out;
    EXPECT_NE(typed.out.find("\nLive run: waiting for input at line 1 (000000)\n"), std::string::npos);

    const Result endless =
        asm8008({"--live", "--max-states=1000", "-o", "-", folder.write("endless.asm", "L\tJMP L\n")});
    EXPECT_NE(endless.out.find("Live run: still running after 1,001 states: the busiest line is 1\n"),
              std::string::npos);

    const Result wrong = asm8008({"--live", "-o", "-", folder.write("bad.asm", "\tFOO\n")});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.out.find("Live run"), std::string::npos);
    const Result unread = asm8008({"--live", "--input", folder.file("none"), countdown});
    EXPECT_EQ(unread.status, 2);
    EXPECT_NE(unread.err.find("cannot read " + folder.file("none") + ": No such file or directory"),
              std::string::npos);
}

TEST_F(CommandLine, AFailedWriteToStandardOutputFails) {
    const std::string source = folder.write("prog.asm", program);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{source, "-o", "-"},
          std::vector<std::string>{"-l", source, "-o", folder.file("a.hex")}}) {
        FullDisk full;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(runCommandLine(args, out, err), 2);
        EXPECT_EQ(err.str(),
                  "brenvik-asm: cannot write standard output: No space left on device\n5 bytes assembled\n");
    }
}

const std::string usage =
    "usage: brenvik-asm [-w] [-l] [-x] [-o HEXFILE | -o -] [-b BINFILE [--fill N] [--range START-END]]\n"
    "                   [-s SYMFILE] [--live [--max-states N] [--input FILE]] SOURCE\n";

TEST(CommandLineUsage, WrongArgumentsSayWhyThenShowTheUsage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong{
        {{}, "no SOURCE given"},
        {{"-l"}, "no SOURCE given"},
        {{"-b", "a.asm"}, "no SOURCE given"},
        {{"-o"}, "-o needs a value"},
        {{"a.asm", "-o"}, "-o needs a value"},
        {{"-s"}, "-s needs a value"},
        {{"-o", "", "a.asm"}, "-o needs a value, not an empty one"},
        {{"--fill=", "-b", "x.bin", "a.asm"}, "--fill needs a value, not an empty one"},
        {{"-q", "a.asm"}, "unknown option -q"},
        {{"--listing=yes", "a.asm"}, "unknown option --listing"},
        {{"a.asm", "b.asm"}, "one SOURCE only, and b.asm is a second"},
        {{"a.asm", ""}, "an empty argument names no SOURCE"},
    };
    for (const auto& [args, why] : wrong) {
        const Result r = asm8008(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "brenvik-asm: " + why + "\n" + usage);
    }
}

TEST(CommandLineUsage, HelpAndVersionAnswerOnStandardOutputBeforeAnythingElse) {
    const Result help = asm8008({"-q", "--help", "missing.asm"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with(usage)) << help.out;
    EXPECT_NE(help.out.find("\n  -b FILE "), std::string::npos);
    EXPECT_EQ(help.err, "");

    const Result version = asm8008({"missing.asm", "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "brenvik-asm (Brenvik) " PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");

    FullDisk full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(runCommandLine({"--version"}, out, err), 2);
    EXPECT_EQ(err.str(), "brenvik-asm: cannot write standard output: No space left on device\n");
}

TEST_F(CommandLine, ASymbolOfAnIncludedFileHasItsOwnValueNotThatOfTheIncludingLine) {
    folder.write("lib.inc", "A\tLAA\nB\tLAA\n");
    folder.write("lib8008.inc", "a:\tnop\nb:\tnop\n");
    const std::vector<std::pair<std::string, std::string>> sources{
        {"\tLAA\n\tINCLUDE \"lib.inc\"\n", "A 000001 2\nB 000002 2\n"},
        {"\tcpu 8008new\n\tnop\n\tinclude \"lib8008.inc\"\n", "A 000001 3\nB 000002 3\n"},
    };
    for (const auto& [source, symbols] : sources) {
        const Result r =
            asm8008({"-o", folder.file("prog.hex"), "-s", "-", folder.write("prog.asm", source)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, symbols);
    }
}

TEST(CommandLineUsage, ArgumentsThatDoNotGoTogetherSayWhy) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong{
        {{"--fill", "0", "a.asm"}, "--fill and --range shape the binary image of -b"},
        {{"--range=0-7", "a.asm"}, "--fill and --range shape the binary image of -b"},
        {{"-o", "-", "-s", "-", "a.asm"}, "only one of -o, -b and -s can write to standard output"},
        {{"--max-states", "5", "a.asm"}, "--max-states and --input shape the run of --live"},
        {{"-l", "--input=keys", "a.asm"}, "--max-states and --input shape the run of --live"},
        {{"--live", "--max-states=1e6", "a.asm"},
         "--max-states 1e6: not a number of states (decimal digits only)"},
    };
    for (const auto& [args, why] : wrong) {
        const Result r = asm8008(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "brenvik-asm: " + why + "\n" + usage);
    }
}

} // namespace

TEST_F(CommandLine, AFaultOfAnIncludedFileOrAnExpansionIsSaidWhereItStandsAndHowItWasReached) {
    folder.write("self.inc", "\tinclude \"self.inc\"\n");
    folder.write("faulty.inc", "\tnop\n\tdb missing\n");
    folder.write("macros.inc", "load\tmacro v\n\tmvi a,v\n\tendm\n");
    const Result r = asm8008(
        {"-o", "-",
         folder.write("prog.asm", "\tcpu 8008new\n\tinclude \"absent.inc\"\n\tinclude \"self.inc\"\n"
                                  "\tinclude \"faulty.inc\"\n\tinclude \"bitfuncs.inc\"\n"
                                  "\tdb hi(1234h)\n\tinclude \"macros.inc\"\ntwice\tmacro\n"
                                  "\tload 1\n\tload 300\n\tendm\n\ttwice\n\trept 2\n\tdb 1/0\n\tendm\n")});
    EXPECT_EQ(r.status, 1);
    const auto reported = [&](const std::string& report) { return r.err.find(report) != std::string::npos; };
    EXPECT_TRUE(reported("prog.asm:2:10: error: cannot read the included file 'absent.inc'\n")) << r.err;
    EXPECT_TRUE(
        reported("self.inc:1:10: error: 'self.inc' includes itself\n\tinclude \"self.inc\"\n\t        ^\n"
                 "included from " +
                 folder.file("prog.asm") + ":3\n"))
        << r.err;
    EXPECT_TRUE(
        reported("faulty.inc:2:5: error: undefined symbol 'missing'\n\tdb missing\n\t   ^\nincluded from " +
                 folder.file("prog.asm") + ":4\n"))
        << r.err;
    // In a macro of an included file, invoked from another macro: its parameter replaced.
    EXPECT_TRUE(reported("macros.inc:2:8: error: value 300 is out of range for a byte (-128 to 255)\n"
                         "\tmvi a,300\n\t      ^\nin expansion of load at " +
                         folder.file("prog.asm") + ":10\nin expansion of twice at " +
                         folder.file("prog.asm") + ":12\n"))
        << r.err;
    EXPECT_TRUE(
        reported("prog.asm:14:6: error: division by zero\n\tdb 1/0\n\t    ^\nin expansion of REPT at " +
                 folder.file("prog.asm") + ":13\n"))
        << r.err;
    EXPECT_TRUE(reported("5 Errors in Assembly!")) << r.err; // bitfuncs.inc is served, hi() known
}
