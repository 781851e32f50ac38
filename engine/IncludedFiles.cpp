#include "IncludedFiles.h"

#include "SourceText.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

std::optional<std::vector<std::string>> textsOf(const std::string& path) {
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

} // namespace

std::string IncludedFiles::pathOf(const std::string& name) const {
    const std::string& includer = including.back();
    const std::size_t folderEnd = includer.find_last_of('/');
    if (name.starts_with('/') || folderEnd == std::string::npos)
        return name;
    return includer.substr(0, folderEnd + 1) + name;
}

std::optional<Fault> IncludedFiles::refusal(const std::string& path, const std::string& name) const {
    if (std::find(including.begin(), including.end(), path) != including.end())
        return Fault{DiagCode::includeCycle, name};
    if (including.size() > maxIncludeDepth)
        return Fault{DiagCode::includeTooDeep, std::to_string(maxIncludeDepth)};
    return std::nullopt;
}

const std::vector<BodyLine>* IncludedFiles::linesOf(const std::string& path) {
    if (const auto found = read.find(path); found != read.end())
        return &found->second;
    if (including.front().empty()) // a text not yet saved has no folder to find them in
        return nullptr;
    std::optional<std::vector<std::string>> texts = textsOf(path);
    if (!texts)
        return nullptr;
    const auto file = static_cast<std::uint32_t>(paths.size());
    paths.push_back(path);
    std::vector<BodyLine> lines;
    lines.reserve(texts->size());
    for (std::uint32_t i = 0; i < texts->size(); ++i)
        lines.push_back({std::move((*texts)[i]), file, i});
    return &read.emplace(path, std::move(lines)).first->second;
}
