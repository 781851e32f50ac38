#include "MachineDescription.h"

#include "Console.h"
#include "Instructions.h"
#include "MemoryDevices.h"
#include "SerialLine.h"

const MachineDescription& consoleMachine() {
    static const MachineDescription console{
        .name = "console",
        .title = "Console",
        .summary = "16 KiB of RAM and a console on INP 0, INP 1 and OUT 8",
        .regions = {{MemoryRegion::ram, 0, 040000}},
        .romWindow = std::nullopt,
        .bootOverlay = std::nullopt,
        .wireDevices =
            [](Ports& ports) {
                ports.attach(std::make_unique<Console>(),
                             {Console::statusPort, Console::dataPort, Console::screenPort});
            },
        .resetInstruction = std::nullopt,
        .clockHertz = 500'000,
    };
    return console;
}

namespace sbc {

constexpr std::uint32_t ramSize = 020000, eprom = 020000, windowSize = 020000;
constexpr unsigned clockHertz = 500'000, baud = 2400;
constexpr unsigned eproms = 4; // 32 KiB: OUT 10 drives the EPROM's A13 and A14
constexpr unsigned serialIn = 0, bootstrapReset = 1, serialOut = 8, leds = 9, bankSwitch = 10;

} // namespace sbc

const MachineDescription& sbcMachine() {
    using namespace sbc;
    static const MachineDescription board{
        .name = "8008-sbc",
        .title = "8008-SBC",
        .summary = "the 8008-SBC: 8 KiB of RAM, an EPROM window at 020000 (OUT 10 its bank), 2400 bps serial "
                   "on INP 0 and OUT 8",
        .regions = {{MemoryRegion::ram, 0, ramSize}, {MemoryRegion::rom, eprom, windowSize}},
        .romWindow = RomWindow{eprom, windowSize, eproms},
        // The bootstrap flip-flop makes every fetch come from the EPROM until INP 1.
        .bootOverlay = BootOverlay{windowSize},
        .wireDevices =
            [](Ports& ports) {
                ports.attach(
                    std::make_unique<SerialLine>(SerialLine::Timing{clockHertz / clockPeriodsPerState, baud},
                                                 serialIn, serialOut),
                    {serialIn, serialOut});
                ports.attach(std::make_unique<BootSwitch>(0), {bootstrapReset});
                ports.attach(std::make_unique<Lights>("LEDs"), {leds});
                ports.attach(std::make_unique<RomBankSwitch>(), {bankSwitch});
            },
        .resetInstruction = std::nullopt,
        .clockHertz = sbc::clockHertz,
    };
    return board;
}

const std::vector<const MachineDescription*>& allMachines() {
    static const std::vector<const MachineDescription*> machines{&consoleMachine(), &sbcMachine()};
    return machines;
}

const MachineDescription* machineNamed(const std::string& name) {
    for (const MachineDescription* machine : allMachines())
        if (machine->name == name)
            return machine;
    return nullptr;
}
