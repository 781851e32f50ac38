#pragma once

// The machine's 32 ports: the console on its own, a value the user sets on each
// other input port (0 until set, as switches left open), and the last value
// written to each output port.

#include "Console.h"

#include <array>
#include <cstdint>

class Ports {
  public:
    static constexpr unsigned count = 32;
    static constexpr unsigned inputPorts = 8; // 0 to 7; 8 to 31 are outputs

    Console console;
    std::array<std::uint8_t, inputPorts> inputValues{};
    std::array<std::uint8_t, count> lastOutput{};
    std::array<bool, count> written{};

    std::uint8_t input(unsigned port) {
        switch (port) {
        case Console::statusPort:
            return console.status();
        case Console::dataPort:
            return console.read();
        default:
            return inputValues[port];
        }
    }

    void output(unsigned port, std::uint8_t value) {
        lastOutput[port] = value;
        written[port] = true;
        if (port == Console::screenPort)
            console.write(value);
    }
};
