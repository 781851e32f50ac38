// brenvik-asm's binary image, symbol table and cross-reference: their content,
// their options, and that they are written whole or not at all.

#include "RunAssembler.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

// Bytes at 000002-000003 and 000006, a gap between them, and three symbols.
const std::string program = "\tORG 2\nTWO:\tLAI SIX\n\tORG 6\nSIX:\tDB TWO\nN\tEQU 5\n";

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (const int value : values)
        text += static_cast<char>(value);
    return text;
}

class Exports : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string source = folder.write("prog.asm", program);
    std::string image = folder.file("prog.bin");
};

TEST_F(Exports, TheImageRunsFromTheLowestByteToTheHighestWithGapsFilled) {
    const struct {
        std::vector<std::string> options;
        std::string image;
    } cases[] = {
        {{}, bytes({006, 006, 0377, 0377, 002})},
        {{"--fill", "0"}, bytes({006, 006, 0, 0, 002})},
        {{"--fill=252"}, bytes({006, 006, 0374, 0374, 002})},
        {{"--range", "0-7"}, bytes({0377, 0377, 006, 006, 0377, 0377, 002, 0377})},
        {{"--range", "2-6", "--fill", "N"}, bytes({006, 006, 5, 5, 002})}, // the source's symbols count
        {{"--range", "0x2-6H", "--fill", "0xFF"}, bytes({006, 006, 0377, 0377, 002})},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"-b", image, "-o", folder.file("prog.hex"), source};
        args.insert(args.begin(), c.options.begin(), c.options.end());
        const Result r = asm8008(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(TempFolder::read(image), c.image) << c.options.size();
    }
}

TEST_F(Exports, BadFillOrRangeOrBytesOutsideTheRangeWriteNothing) {
    const struct {
        std::vector<std::string> options;
        std::string error;
    } cases[] = {
        {{"--fill", "400B"}, "brenvik-asm: --fill 400B: not a byte (0 to 377B)"},
        {{"--fill", "NOWHERE"}, "brenvik-asm: --fill NOWHERE: not a byte (0 to 377B)"},
        {{"--range", "7-2"}, "brenvik-asm: --range 7-2: not START-END, START at most END"},
        {{"--range", "17777B"}, "brenvik-asm: --range 17777B: not START-END, START at most END"},
        {{"--range", "0-99999"}, "brenvik-asm: --range 0-99999: 99999 is no address (0 to 177777B)"},
        {{"--range", "0-0x10000"}, "brenvik-asm: --range 0-0x10000: 0x10000 is no address (0 to 177777B)"},
        {{"--fill", "100H"}, "brenvik-asm: --fill 100H: not a byte (0 to 377B)"},
        {{"--range", "3-17777B"},
         "brenvik-asm: cannot write " + image + ": a byte at 000002 lies outside 000003-017777"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"-b", image, source};
        args.insert(args.begin(), c.options.begin(), c.options.end());
        const Result r = asm8008(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.error + "\n3 bytes assembled\n");
        EXPECT_FALSE(std::filesystem::exists(image));
        EXPECT_FALSE(std::filesystem::exists(folder.file("prog.hex")));
    }
}

TEST_F(Exports, TheSymbolTableIsSortedByName) {
    const Result r = asm8008({"-s", "-", "-o", folder.file("prog.hex"), source});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "N 000005 5\nSIX 000006 4\nTWO 000002 2\n");
}

TEST_F(Exports, TheCrossReferenceFollowsTheListing) {
    const Result r = asm8008({"-x", "-o", folder.file("prog.hex"), source});
    EXPECT_EQ(r.status, 0);
    const std::string table = "\nCROSS-REFERENCE\n\n"
                              "SYMBOL  VALUE     LINE  USED ON LINES\n"
                              "N       000005       5\n"
                              "SIX     000006       4  2\n"
                              "TWO     000002       2  4\n";
    ASSERT_GT(r.out.size(), table.size());
    EXPECT_EQ(r.out.substr(r.out.size() - table.size()), table);
    EXPECT_EQ(r.out.find("CROSS-REFERENCE"), r.out.rfind("CROSS-REFERENCE"));
    EXPECT_NE(r.out.find("000002 006 006"), std::string::npos); // the listing comes first
}

TEST_F(Exports, AProgramWithErrorsWritesNoneOfThem) {
    const std::string faulty = folder.write("bad.asm", "\tFOO\n");
    const Result r = asm8008({"-b", image, "-s", folder.file("bad.sym"), faulty});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(image));
    EXPECT_FALSE(std::filesystem::exists(folder.file("bad.sym")));
}

TEST_F(Exports, NoneIsWrittenOverTheSource) {
    const Result r = asm8008({"-s", source, "-o", folder.file("prog.hex"), source});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "brenvik-asm: cannot write " + source + ": it is the source file\n3 bytes assembled\n");
    EXPECT_EQ(TempFolder::read(source), program);
}

TEST_F(Exports, TwoOutputsThatWouldWriteOneFileAreRefusedBeforeAnyIsWritten) {
    const std::string same = folder.file("same.out"), link = folder.file("link.out");
    std::filesystem::create_symlink(same, link); // to a file not yet made
    const struct {
        std::vector<std::string> options;
        std::string collision;
    } cases[] = {
        {{"-o", same, "-b", same}, "-o " + same + " and -b " + same},
        {{"-b", same, "-s", link}, "-b " + same + " and -s " + link},
        {{"-s", folder.file("./prog.hex")},
         "the HEX file beside the source and -s " + folder.file("./prog.hex")},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(source);
        const Result r = asm8008(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "brenvik-asm: " + c.collision + " would write one file\n");
        EXPECT_FALSE(std::filesystem::exists(same));
        EXPECT_FALSE(std::filesystem::exists(folder.file("prog.hex")));
    }
}

TEST_F(Exports, AnOutputThatCannotBeWrittenLeavesTheOthersAsTheyWere) {
    const std::string hex = folder.write("keep.hex", "kept");
    std::filesystem::create_directory(folder.file("dir"));
    const Result r = asm8008({"-o", hex, "-b", folder.file("dir"), source});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "brenvik-asm: cannot write " + folder.file("dir") + ": Is a directory\n3 bytes assembled\n");
    EXPECT_EQ(TempFolder::read(hex), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 3) << "no temporary left";
}

} // namespace
