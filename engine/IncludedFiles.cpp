#include "IncludedFiles.h"

#include "SourceText.h"

#include <filesystem>
#include <fstream>

std::string includedPath(const std::string& includer, const std::string& file) {
    const std::size_t folderEnd = includer.find_last_of('/');
    if (file.starts_with('/') || folderEnd == std::string::npos)
        return file;
    return includer.substr(0, folderEnd + 1) + file;
}

std::optional<std::vector<std::string>> includedLines(const std::string& path) {
    std::error_code failed;
    const auto size = std::filesystem::file_size(path, failed);
    if (failed || !std::filesystem::is_regular_file(path, failed) || size > maxIncludedBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(size, '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    const SourceFileText text(std::move(bytes));
    std::vector<std::string> lines;
    lines.reserve(text.lineCount());
    SourceLine line;
    for (std::uint32_t i = 0; i < text.lineCount(); ++i) {
        text.readLine(i, line);
        lines.push_back(std::move(line.text));
    }
    return lines;
}
