#pragma once

// The base protocol of the Language Server Protocol: each message a header of
// "Content-Length: N" lines, an empty line, and N bytes of JSON.

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>

// Messages larger than this are read past and refused, not held.
constexpr std::size_t largestLspMessage = 64 * 1024 * 1024;

struct LspFrame {
    std::string content; // empty, with `problem` set, when the frame was not readable
    std::string problem;
};

// The next frame of `in`; none at the end of the input.
std::optional<LspFrame> readLspFrame(std::istream& in);
void writeLspFrame(std::ostream& out, const std::string& content);
