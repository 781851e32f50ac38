#pragma once

// A device on the machine's ports. The interpreter knows devices only through
// this interface: each INP or OUT of a port the device is wired to reaches it
// with the state count at which the access happens (the end of the I/O
// instruction, counted from the machine's start), so that a device can keep
// time, as a bit-banged serial line must.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class Machine;

// Why a program that reads a device cannot go on by itself.
enum class DeviceWait {
    none,
    forInput,     // it has only polled for a while, and nothing came
    atEndOfInput, // it asks for input, and none will come
};

class Device {
  public:
    virtual ~Device() = default;
    // A copy in the same state, for a machine that is copied.
    virtual std::unique_ptr<Device> clone() const = 0;

    virtual std::uint8_t input(unsigned port, std::uint64_t state, Machine& machine) = 0;
    virtual void output(unsigned port, std::uint8_t value, std::uint64_t state, Machine& machine) = 0;
    // What the program's reads have made of it since last asked.
    virtual DeviceWait takeWait() { return DeviceWait::none; }
    // What the port is for, as the ports pane names it: "Console status".
    virtual std::string portUse(unsigned port) const = 0;
};

// A device with a person at the other end: keys typed in, text shown.
class TerminalDevice : public Device {
  public:
    // Keys as a terminal sends them: Enter is CR.
    virtual void type(std::string_view keys) = 0;
    // No key will come after those typed.
    virtual void endInput() = 0;
    virtual bool hasKeys() const = 0;
    // What the screen received since it was last taken: printable characters
    // and tabs, '\n' ending a line, '\b' moving back one character; or, once
    // kept as sent, the characters as they came, for a terminal program.
    virtual std::string takeScreen() = 0;
    virtual void keepScreenAsSent(bool on) = 0;
    // What the terminal is, as a pane's title names it: "Console".
    virtual std::string name() const = 0;
};
