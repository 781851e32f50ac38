#include "MachineDescription.h"

#include "Console.h"

const MachineDescription& consoleMachine() {
    static const MachineDescription console{
        .name = "console",
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
