#include "Ports.h"

#include <algorithm>

Ports::Ports(const Ports& other)
    : inputValues(other.inputValues), lastOutput(other.lastOutput), written(other.written) {
    copyWiring(other);
}

Ports& Ports::operator=(const Ports& other) {
    if (this != &other) {
        inputValues = other.inputValues;
        lastOutput = other.lastOutput;
        written = other.written;
        copyWiring(other);
    }
    return *this;
}

// Every device cloned, and wired as the other's are.
void Ports::copyWiring(const Ports& other) {
    owned.clear();
    for (const auto& device : other.owned)
        owned.push_back(device->clone());
    const auto copyOf = [&](const Device* device) -> Device* {
        if (!device)
            return nullptr;
        const auto at = std::find_if(other.owned.begin(), other.owned.end(),
                                     [&](const auto& original) { return original.get() == device; });
        return owned[static_cast<std::size_t>(at - other.owned.begin())].get();
    };
    for (unsigned port = 0; port < count; ++port)
        wiring[port] = copyOf(other.wiring[port]);
    terminalDevice = static_cast<TerminalDevice*>(copyOf(other.terminalDevice));
}

void Ports::attach(std::unique_ptr<Device> device, std::initializer_list<unsigned> ports) {
    for (const unsigned port : ports)
        wiring[port] = device.get();
    if (!terminalDevice)
        terminalDevice = dynamic_cast<TerminalDevice*>(device.get());
    owned.push_back(std::move(device));
}
