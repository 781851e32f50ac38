#pragma once

// A program ready to run, built once: the bytes it puts in memory and, for an
// assembly, where its instructions lie and which line each came from. The
// debugger, brenvik-sim, breakpoints and a selection's cost all read it.

#include "Assembly.h"
#include "Machine.h"

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Program {
  public:
    // An instruction of a line: LHLI makes two, LHI and then LLI.
    struct Instruction {
        std::uint32_t line;
        std::uint32_t address;
        std::uint8_t opcode;
    };

    Program() = default;
    explicit Program(const Assembly& assembly);

    // A byte of a program without lines (an Intel HEX file, a binary image).
    void put(std::uint32_t address, std::uint8_t byte);

    // Why the program cannot be loaded: "address 040000 is beyond the 8008's 16
    // KiB of memory (000000 to 037777)"; empty when it can.
    std::string loadProblem() const;
    // Its bytes into `machine`'s memory, as a loader puts them.
    void loadInto(Machine& machine) const;
    // `rom` with the program's bytes in `window` put into its first bank, where
    // the window shows them; none when the program has no byte there.
    std::optional<std::vector<std::uint8_t>> romImage(const RomWindow& window,
                                                      std::vector<std::uint8_t> rom) const;
    // Whether `other` puts the same bytes at the same addresses, whatever its lines.
    bool sameBytes(const Program& other) const {
        return present == other.present && image == other.image && firstBeyond == other.firstBeyond;
    }

    bool hasLines() const { return !addressOfLine.empty(); }
    std::size_t lineCount() const { return addressOfLine.size(); }
    // The line whose instruction starts at `address`, or -1.
    int lineOf(std::uint16_t address) const;
    // Whether `line` assembled an instruction.
    bool lineHasInstruction(int line) const;
    // The address of the first instruction on `line` or below it.
    std::optional<std::uint16_t> addressFrom(int line) const;

    // The instructions of lines `first` to `last` (both included), in line order;
    // and the number of bytes those lines put in memory.
    std::pair<const Instruction*, const Instruction*> instructionsOf(std::uint32_t first,
                                                                     std::uint32_t last) const;
    std::uint64_t bytesOf(std::uint32_t first, std::uint32_t last) const;

  private:
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(Machine::memorySize);
    std::bitset<Machine::memorySize> present;
    std::optional<std::uint32_t> firstBeyond;
    std::vector<Instruction> instructions;    // by line
    std::vector<std::uint64_t> bytesBefore;   // per line, the bytes of the lines above it
    std::vector<int> lineOfAddress;           // -1 where no instruction starts
    std::vector<std::uint32_t> addressOfLine; // Assembly::noLine for lines without one
};
