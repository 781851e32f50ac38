#pragma once

// The console of the simulated machine, a terminal on three ports:
//   INP 0  status: bit 0 is set while a typed character waits, the others are 0
//   INP 1  the next typed character, bit 7 clear, taken; 0 when none waits
//   OUT 8  a character to the screen (see TerminalScreen)
// Ports 0 and 1 are INP 0 and INP 1; OUT 8 is what the assembler folds OUT 0 to.

#include "Device.h"
#include "TerminalScreen.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

class Console : public TerminalDevice {
  public:
    static constexpr unsigned statusPort = 0;
    static constexpr unsigned dataPort = 1;
    static constexpr unsigned screenPort = 8;

    std::unique_ptr<Device> clone() const override { return std::make_unique<Console>(*this); }
    std::uint8_t input(unsigned port, std::uint64_t, Machine&) override {
        return port == statusPort ? status() : read();
    }
    void output(unsigned, std::uint8_t value, std::uint64_t, Machine&) override { write(value); }
    DeviceWait takeWait() override { return std::exchange(wait, DeviceWait::none); }
    std::string portUse(unsigned port) const override;

    void type(std::string_view keys) override;
    void endInput() override { inputEnded = true; }
    bool hasKeys() const override { return !keys.empty(); }
    std::string takeScreen() override { return screen.take(); }
    void keepScreenAsSent(bool on) override { screen.keepAsSent(on); }
    std::string name() const override { return "Console"; }

    std::uint8_t status();
    std::uint8_t read();
    void write(std::uint8_t character);

    // This many polls of an empty console in a row, with nothing written between
    // them, and the program is taken to be waiting for a key.
    static constexpr unsigned pollsBeforeWaiting = 64;

  private:
    void polledEmpty();

    std::deque<char> keys;
    bool inputEnded = false;
    TerminalScreen screen;
    unsigned emptyPolls = 0;
    DeviceWait wait = DeviceWait::none;
};
