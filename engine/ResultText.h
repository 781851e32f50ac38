#pragma once

#include <cstdint>
#include <string>

// What a run found, as the status bar and the command line say it:
// "3 Errors in Assembly!", "1 Error in Assembly!", "12 bytes assembled", or
// nothing for a run without errors and without bytes.
inline std::string resultText(int errors, std::uint32_t bytes) {
    if (errors > 0)
        return std::to_string(errors) + (errors == 1 ? " Error in Assembly!" : " Errors in Assembly!");
    if (bytes > 0)
        return std::to_string(bytes) + " bytes assembled";
    return "";
}
