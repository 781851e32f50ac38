// brenvik-asm run in-process: its files, streams and exit codes.

#include "CommandLine.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result asm8008(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

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
    struct stat info{};
    ::stat(hex.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2);
}

TEST_F(CommandLine, ReportsEveryLineInErrorAndLeavesTheHexFileAlone) {
    const std::string hex = folder.write("bad.hex", "old");
    const std::string source = folder.write("bad.asm", "\tRET\n\tFOO 1\n\tLAI\nX\tJMP NOWHERE ; c\n");
    const Result r = asm8008({source});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, source + ":2:2: error\n\tFOO 1\n\t^\n" +
                         source + ":3:5: error\n\tLAI\n\t   ^\n" +
                         source + ":4:6: error\nX\tJMP NOWHERE ; c\n \t   ^\n" +
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
    EXPECT_EQ(r.out.substr(0, r.out.find(":")),
              "000100              \tORG 100B\n"
              "= 7                 X\tEQU 7\n"
              "\n"
              "                    \tTITLE t\n"
              "000100              \tBSS\n"
              "000100 ??? ??? ???  \tJMP X\n"
              "000103              \tDATA\n"
              "000103 001 002 003  \tDB 1,2,3,4,5,6,7\n"
              "       004 005 006\n"
              "       007\n");
}

TEST_F(CommandLine, AcceptsEveryLineBreakAndPrintsLinesAsTheyStand) {
    const Result crlf = asm8008({"-l", folder.write("a.asm", "\tRET\r\n\tRLC\r\n"), "-o", "-"});
    const Result lf = asm8008({"-l", folder.write("b.asm", "\tRET\n\tRLC"), "-o", "-"});
    const Result cr = asm8008({"-l", folder.write("c.asm", "\tRET\r\tRLC\r"), "-o", "-"});
    EXPECT_EQ(crlf.out, lf.out);
    EXPECT_EQ(cr.out, lf.out);
    EXPECT_EQ(lf.out, "000000 007          \tRET\n000001 002          \tRLC\n"
                      ":020000000702F5\r\n:00000001FF\r\n");
}

TEST_F(CommandLine, ReadsUtf8AndLatin1AsOneBytePerCharacter) {
    const Result utf8 = asm8008({folder.write("u.asm", "\xEF\xBB\xBF\tDB \"\xC3\xA9\" ; \xE2\x82\xAC\n"), "-o", "-"});
    const Result latin1 = asm8008({folder.write("l.asm", "\tDB \"\xE9\" ; \xA4\n"), "-o", "-"});
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out, ":01000000E916\r\n:00000001FF\r\n");
    EXPECT_EQ(latin1.out, utf8.out);
}

TEST_F(CommandLine, CharacterWithoutASingleByteCodeIsAnError) {
    const std::string source = folder.write("w.asm", "\tDB \"\xE2\x82\xAC\"\n");
    const Result r = asm8008({source, "-o", "-"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), source + ":1:1: error");
}

TEST_F(CommandLine, FilesThatCannotBeReadOrWrittenExitWithTwo) {
    const Result missing = asm8008({folder.file("missing.asm")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "brenvik-asm: cannot read " + folder.file("missing.asm") +
                               ": No such file or directory\n");

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

TEST(CommandLineUsage, WrongArgumentsShowTheUsage) {
    const std::vector<std::vector<std::string>> wrong{
        {}, {"-l"}, {"-o"}, {"a.asm", "-o"}, {"-x", "a.asm"}, {"a.asm", "b.asm"}, {"-o", "", "a.asm"}};
    for (const auto& args : wrong) {
        const Result r = asm8008(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "usage: brenvik-asm [-o HEXFILE | -o -] [-l] SOURCE\n");
    }
}

} // namespace
