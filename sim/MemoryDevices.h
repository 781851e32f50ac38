#pragma once

// Devices that change the memory map rather than talk to a person: the ROM
// bank chosen by a port, and the switch that ends a boot overlay when read;
// and lights that only show what is written to their port.

#include "Device.h"
#include "Machine.h"

#include <string>
#include <utility>

// Writing a value chooses the ROM window's bank: the value's low bits, as many
// as the banks need.
class RomBankSwitch : public Device {
  public:
    std::unique_ptr<Device> clone() const override { return std::make_unique<RomBankSwitch>(*this); }
    std::uint8_t input(unsigned, std::uint64_t, Machine&) override { return 0; }
    void output(unsigned, std::uint8_t value, std::uint64_t, Machine& machine) override {
        machine.selectRomBank(value);
    }
    std::string portUse(unsigned) const override { return "ROM bank"; }
};

// Reading the port ends the boot overlay: the RAM at 0 is there again. The read
// itself gives what `reads` says.
class BootSwitch : public Device {
  public:
    explicit BootSwitch(std::uint8_t reads = 0) : reads(reads) {}
    std::unique_ptr<Device> clone() const override { return std::make_unique<BootSwitch>(*this); }
    std::uint8_t input(unsigned, std::uint64_t, Machine& machine) override {
        machine.endBootOverlay();
        return reads;
    }
    void output(unsigned, std::uint8_t, std::uint64_t, Machine&) override {}
    std::string portUse(unsigned) const override { return "Boot switch"; }

  private:
    std::uint8_t reads;
};

// Lights on an output port, such as a board's LEDs: the port's last value is
// all there is to them, and the ports pane shows it under their name.
class Lights : public Device {
  public:
    explicit Lights(std::string use) : use(std::move(use)) {}
    std::unique_ptr<Device> clone() const override { return std::make_unique<Lights>(*this); }
    std::uint8_t input(unsigned, std::uint64_t, Machine&) override { return 0; }
    void output(unsigned, std::uint8_t, std::uint64_t, Machine&) override {}
    std::string portUse(unsigned) const override { return use; }

  private:
    std::string use;
};
