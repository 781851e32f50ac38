#include "MachineDescription.h"

#include "Console.h"
#include "Instructions.h"
#include "MemoryDevices.h"
#include "SerialLine.h"

#include <map>

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
                    std::make_unique<SerialLine>(SerialLine::Timing{clockHertz / clockPeriodsPerState, baud}),
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

namespace scelbi {

constexpr unsigned clockHertz = 500'000, baud = 110, largestKib = 16, bytesPerKib = 1024;
constexpr SerialLine::Framing teletype{.receiveBit = 7, .stopBits = 2, .markParity = true};
constexpr unsigned listingIn = 2, manualIn = 5, listingOut = 012, manualOut = 016;

MachineDescription withRam(unsigned kib) {
    return {
        .name = "scelbi",
        .title = "SCELBI",
        .summary = "the SCELBI-8B: " + std::to_string(kib) +
                   " KiB of RAM, a 110 bps teletype bit-banged on INP 2 or 5 (bit 7) and OUT 012 or 016",
        .regions = {{MemoryRegion::ram, 0, kib * bytesPerKib}},
        .romWindow = std::nullopt,
        .bootOverlay = std::nullopt,
        .wireDevices =
            [](Ports& ports) {
                ports.attach(std::make_unique<SerialLine>(
                                 SerialLine::Timing{clockHertz / clockPeriodsPerState, baud}, teletype),
                             {listingIn, manualIn, listingOut, manualOut});
            },
        .resetInstruction = std::nullopt,
        .clockHertz = clockHertz,
        .withRam = scelbiMachine,
    };
}

} // namespace scelbi

const MachineDescription* scelbiMachine(unsigned kib) {
    if (kib < 1 || kib > scelbi::largestKib)
        return nullptr;
    // One description a size, made when first asked for, kept as long as the program runs.
    static std::map<unsigned, MachineDescription> sizes;
    return &sizes.try_emplace(kib, scelbi::withRam(kib)).first->second;
}

const MachineDescription* withMemory(const MachineDescription& machine, unsigned kib) {
    return machine.withRam ? machine.withRam(kib) : nullptr;
}

const std::vector<const MachineDescription*>& allMachines() {
    static const std::vector<const MachineDescription*> machines{&consoleMachine(), &sbcMachine(),
                                                                 scelbiMachine()};
    return machines;
}

const MachineDescription* machineNamed(const std::string& name) {
    for (const MachineDescription* machine : allMachines())
        if (machine->name == name)
            return machine;
    return nullptr;
}
