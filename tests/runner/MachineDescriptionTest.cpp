// Machines built from descriptions: memory that is RAM, ROM or absent, a ROM
// window whose bank a port chooses, a boot overlay that a read ends, an
// instruction jammed in at reset, and devices that see each access's state.

#include "Machine.h"
#include "MemoryDevices.h"
#include "Runner.h"

#include <gtest/gtest.h>

namespace {

// Records each access with its state count.
class Recorder : public Device {
  public:
    struct Access {
        unsigned port;
        std::uint64_t state;
    };
    std::vector<Access>* accesses;

    explicit Recorder(std::vector<Access>* accesses) : accesses(accesses) {}
    std::unique_ptr<Device> clone() const override { return std::make_unique<Recorder>(*this); }
    std::uint8_t input(unsigned port, std::uint64_t state, Machine&) override {
        accesses->push_back({port, state});
        return 0123;
    }
    void output(unsigned port, std::uint8_t, std::uint64_t state, Machine&) override {
        accesses->push_back({port, state});
    }
    std::string portUse(unsigned) const override { return "Recorder"; }
};

std::vector<Recorder::Access> accesses;

const MachineDescription board{
    .name = "test",
    .title = "Test",
    .summary = "RAM at 0, a 1 KiB ROM window at 010000 switched by OUT 10, absent memory above",
    .regions = {{MemoryRegion::ram, 0, 04000}, {MemoryRegion::rom, 010000, 02000}},
    .romWindow = RomWindow{010000, 02000},
    .bootOverlay = BootOverlay{0400},
    .wireDevices =
        [](Ports& ports) {
            ports.attach(std::make_unique<RomBankSwitch>(), {10});
            ports.attach(std::make_unique<BootSwitch>(0), {1});
            ports.attach(std::make_unique<Recorder>(&accesses), {2, 9});
        },
    .resetInstruction = std::uint8_t{0005}, // RST 0
    .clockHertz = 500'000,
};

std::vector<std::uint8_t> romOfTwoBanks() {
    std::vector<std::uint8_t> rom(04000, 0);
    rom[0] = 0104; // JMP 010003: the boot code, at 0 until INP 1 ends the overlay
    rom[1] = 003;
    rom[2] = 020;
    rom[3] = 0103;     // INP 1
    rom[4] = 0000;     // HLT
    rom[02000] = 0252; // bank 1's first byte
    return rom;
}

TEST(MachineDescription, MemoryIsRamRomOrAbsent) {
    Machine machine(board);
    EXPECT_EQ(machine.memory[0777], 0) << "RAM";
    EXPECT_EQ(machine.memory[020000], Machine::absentByte);
    // LHI 20, LLI 0, LMI 1 (into ROM), LHI 40, LMI 1 (into nothing), LHI 2, LMI 1 (into RAM), HLT
    const std::uint8_t program[] = {056, 020, 066, 0, 076, 1, 056, 040, 076, 1, 056, 2, 076, 1, 0};
    std::copy(std::begin(program), std::end(program), machine.memory.begin() + 0400);
    machine.cpu.setPc(0400);
    machine.interrupt(0300); // a LAA in place of the reset's RST
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.memory[010000], Machine::absentByte) << "ROM keeps its byte";
    EXPECT_EQ(machine.memory[020000], Machine::absentByte) << "no memory there";
    EXPECT_EQ(machine.memory[01000], 1) << "RAM takes it";
}

TEST(MachineDescription, ResetJamsItsInstructionAndBootsFromTheRomUntilTheSwitchIsRead) {
    Machine machine(board);
    std::fill(machine.memory.begin(), machine.memory.begin() + 0400, 0077); // RAM under the overlay
    ASSERT_TRUE(machine.setRom(romOfTwoBanks()));
    EXPECT_TRUE(machine.inBootOverlay());
    EXPECT_EQ(machine.memory[0], 0104) << "the ROM's first bytes at 0";
    EXPECT_EQ(machine.memory[010000], 0104) << "and in its window";
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.instructions, 4u) << "RST 0 jammed, JMP, INP 1, HLT";
    EXPECT_FALSE(machine.inBootOverlay());
    EXPECT_EQ(machine.memory[0], 0077) << "the RAM is back";
}

TEST(MachineDescription, APortChoosesTheRomBank) {
    Machine machine(board);
    ASSERT_TRUE(machine.setRom(romOfTwoBanks()));
    EXPECT_EQ(machine.romBanks(), 2u);
    machine.endBootOverlay();
    // LAI 1, OUT 10, LAI 2 (bank 2 is bank 0 again: two banks use one bit), HLT
    const std::uint8_t program[] = {006, 1, 0125, 0};
    std::copy(std::begin(program), std::end(program), machine.memory.begin() + 0100);
    machine.cpu.setPc(0100);
    machine.interrupt(0300); // a LAA in place of the reset's RST
    machine.run();
    EXPECT_EQ(machine.memory[010000], 0252);
}

TEST(MachineDescription, AProgramInTheRomWindowIsTheRomTheMachineBootsFrom) {
    Runner runner;
    runner.setMachine(board);
    EXPECT_EQ(runner.machine().memory[020000], Machine::absentByte) << "the board's memory map";
    std::vector<std::uint8_t> image(02000, 0);
    image[0100] = 0252; // a byte of the ROM image the program leaves alone
    std::string reason;
    ASSERT_TRUE(runner.setRom(image, reason)) << reason;
    // In the window: JMP 010003, INP 1 (the RAM at 0 again), LHI 0, LLI 0100, LAM, HLT;
    // in the RAM under the boot overlay, the byte LAM reads.
    Program program;
    const std::uint8_t rom[] = {0104, 003, 020, 0103, 056, 0, 066, 0100, 0307, 0};
    for (std::uint32_t i = 0; i < std::size(rom); ++i)
        program.put(010000 + i, rom[i]);
    program.put(0100, 055);
    ASSERT_TRUE(runner.load(program, reason)) << reason;
    EXPECT_EQ(runner.machine().memory[0], 0104) << "booting from the program";
    EXPECT_EQ(runner.machine().memory[010100], 0252);
    runner.runOn();
    const std::optional<Stop> stop = runner.advance(1000);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->reason, StopReason::halted);
    EXPECT_EQ(runner.machine().cpu.registers[Cpu::A], 055) << "the RAM under the overlay kept its byte";
    // Another ROM on the loaded machine hides the RAM afresh without losing it.
    ASSERT_TRUE(runner.load(program, reason));
    runner.machine().setRom(image);
    runner.machine().endBootOverlay();
    EXPECT_EQ(runner.machine().memory[0100], 055);
}

TEST(MachineDescription, DevicesSeeTheStateCountOfEachAccess) {
    accesses.clear();
    Machine machine(board);
    machine.endBootOverlay();
    // LAI 0 (8 states), INP 2 (8), OUT 9 (6), HLT
    const std::uint8_t program[] = {006, 0, 0105, 0123, 0};
    std::copy(std::begin(program), std::end(program), machine.memory.begin() + 0200);
    machine.cpu.setPc(0200);
    machine.interrupt(0300); // LAA: 5 states
    machine.run();
    ASSERT_EQ(accesses.size(), 2u);
    EXPECT_EQ(accesses[0].port, 2u);
    EXPECT_EQ(accesses[0].state, 5u + 8 + 8) << "at the end of the INP";
    EXPECT_EQ(accesses[1].port, 9u);
    EXPECT_EQ(accesses[1].state, 5u + 8 + 8 + 6);
    EXPECT_EQ(machine.cpu.registers[Cpu::A], 0123);
    EXPECT_EQ(machine.ports.deviceAt(9)->portUse(9), "Recorder");
    EXPECT_EQ(machine.ports.terminal(), nullptr);
}

TEST(MachineDescription, TheConsoleMachineIsTodaysMachine) {
    Machine machine;
    EXPECT_EQ(machine.description().name, "console");
    EXPECT_TRUE(std::all_of(machine.writable.begin(), machine.writable.end(), [](bool w) { return w; }));
    EXPECT_EQ(machine.ports.deviceAt(0), machine.ports.terminal());
    EXPECT_EQ(machine.ports.deviceAt(8), machine.ports.terminal());
    EXPECT_EQ(machine.ports.deviceAt(2), nullptr);
    EXPECT_FALSE(machine.jammedInstruction());
}

} // namespace
