#pragma once

// A machine as a description: its memory, the devices on its ports, what
// happens at reset and its clock. The interpreter runs any of them alike.

#include "Ports.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct MemoryRegion {
    enum Kind { ram, rom } kind;
    std::uint32_t first;
    std::uint32_t size;
};

// A window of addresses onto a ROM image larger than the window, one bank of it
// at a time; the bank is chosen by the low bits of a value written to a port
// (see RomBankSwitch).
struct RomWindow {
    std::uint32_t first;
    std::uint32_t size;
    unsigned banks = 1; // the most a ROM image of the machine can have
};

// At reset the ROM image's first bytes stand at address 0 in place of the RAM
// there, until an input port is read (see BootSwitch): the way a board whose
// ROM is not at 0 starts in it.
struct BootOverlay {
    std::uint32_t size;
};

struct MachineDescription {
    std::string name;                  // as --machine names it
    std::string title;                 // as a menu and the status bar name it: "8008-SBC"
    std::string summary;               // one line
    std::vector<MemoryRegion> regions; // addresses in none read 377 and ignore writes
    std::optional<RomWindow> romWindow;
    std::optional<BootOverlay> bootOverlay;
    std::function<void(Ports&)> wireDevices;
    // An instruction jammed in at reset, as an interrupt jams one.
    std::optional<std::uint8_t> resetInstruction;
    unsigned clockHertz = 500'000;
    // For a machine whose RAM can be chosen: the same machine with `kib` KiB of
    // RAM, or none when that much does not fit it.
    const MachineDescription* (*withRam)(unsigned kib) = nullptr;
};

// 16 KiB of RAM and the console on INP 0, INP 1 and OUT 8; every other input
// port reads switches, and every output port is recorded.
const MachineDescription& consoleMachine();

// The home-built 8008-SBC: 8 KiB of RAM at 0, an 8 KiB window at 020000 onto
// its 32 KiB EPROM, the bank chosen by OUT 10; at reset it fetches from the
// EPROM, whose first bytes stand at 0 until INP 1 clears its bootstrap
// flip-flop; a 2400 bps serial line on INP 0 and OUT 8 (bit 0 each), its LEDs
// on OUT 9; 500 kHz.
const MachineDescription& sbcMachine();

// The SCELBI-8H/8B with `kib` KiB of RAM at 0 (1 to 16; none beyond), and a
// teletype at 110 bps, two stop bits, mark parity, that the program bit-bangs:
// bit 7 of INP 2 and INP 5 receives, bit 0 of OUT 012 and OUT 016 transmits
// (the ports of SCELBAL's and of the SCELBI manuals' routines); 500 kHz.
const MachineDescription* scelbiMachine(unsigned kib = 16);
// `machine` with `kib` KiB of RAM, where its memory can be chosen (see
// MachineDescription::withRam) and that much fits it; none otherwise.
const MachineDescription* withMemory(const MachineDescription& machine, unsigned kib);

// Every machine, the default first; and the one `name` names, or none.
const std::vector<const MachineDescription*>& allMachines();
const MachineDescription* machineNamed(const std::string& name);
