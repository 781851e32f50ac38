#include "LspFraming.h"

#include <charconv>
#include <istream>
#include <ostream>

namespace {

const std::string lengthField = "content-length:";

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

std::optional<LspFrame> readLspFrame(std::istream& in) {
    std::optional<std::size_t> length;
    std::string line;
    bool headerSeen = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty()) {
            if (!headerSeen)
                continue; // blank lines between messages
            break;
        }
        headerSeen = true;
        const std::string field = lowerCase(line.substr(0, lengthField.size()));
        if (field != lengthField)
            continue; // Content-Type and any other header say nothing we need
        std::size_t value = 0;
        const char* first = line.data() + lengthField.size();
        while (*first == ' ')
            ++first;
        const auto [end, error] = std::from_chars(first, line.data() + line.size(), value);
        if (error == std::errc() && end == line.data() + line.size())
            length = value;
    }
    if (!headerSeen)
        return std::nullopt;
    if (!length)
        return LspFrame{{}, "a message without a valid Content-Length"};
    if (*length > largestLspMessage) {
        in.ignore(static_cast<std::streamsize>(*length));
        return LspFrame{{}, "a message of " + std::to_string(*length) + " bytes, more than the server reads"};
    }
    std::string content(*length, '\0');
    in.read(content.data(), static_cast<std::streamsize>(*length));
    if (static_cast<std::size_t>(in.gcount()) != *length)
        return std::nullopt; // the input ended inside the message
    return LspFrame{std::move(content), {}};
}

void writeLspFrame(std::ostream& out, const std::string& content) {
    out << "Content-Length: " << content.size() << "\r\n\r\n" << content;
    out.flush();
}
