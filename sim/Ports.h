#pragma once

// The machine's 32 ports: the devices wired to them, a value the user sets on
// each input port no device answers (0 until set, as switches left open), and
// the last value written to each output port, whatever takes it.

#include "Device.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Ports {
  public:
    static constexpr unsigned count = 32;
    static constexpr unsigned inputPorts = 8; // 0 to 7; 8 to 31 are outputs

    std::array<std::uint8_t, inputPorts> inputValues{};
    std::array<std::uint8_t, count> lastOutput{};
    std::array<bool, count> written{};

    Ports() = default;
    Ports(const Ports& other);
    Ports& operator=(const Ports& other);
    Ports(Ports&&) = default;
    Ports& operator=(Ports&&) = default;

    // Wires `device` to `ports`; the first terminal wired is the machine's terminal.
    void attach(std::unique_ptr<Device> device, std::initializer_list<unsigned> ports);
    Device* deviceAt(unsigned port) const { return wiring[port]; }
    TerminalDevice* terminal() const { return terminalDevice; }
    const std::vector<std::unique_ptr<Device>>& devices() const { return owned; }

    std::uint8_t input(unsigned port, std::uint64_t state, Machine& machine) {
        if (Device* device = wiring[port])
            return device->input(port, state, machine);
        return inputValues[port];
    }
    // What the device on `port` made of the reads, after an INP of it.
    DeviceWait takeWait(unsigned port) { return wiring[port] ? wiring[port]->takeWait() : DeviceWait::none; }

    void output(unsigned port, std::uint8_t value, std::uint64_t state, Machine& machine) {
        lastOutput[port] = value;
        written[port] = true;
        if (Device* device = wiring[port])
            device->output(port, value, state, machine);
    }

  private:
    void copyWiring(const Ports& other);

    std::vector<std::unique_ptr<Device>> owned;
    std::array<Device*, count> wiring{};
    TerminalDevice* terminalDevice = nullptr;
};
