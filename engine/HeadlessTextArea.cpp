#include "HeadlessTextArea.h"

HeadlessTextArea::HeadlessTextArea(std::vector<std::string> texts) {
    lines.reserve(texts.size());
    for (std::string& text : texts)
        lines.push_back({std::move(text), {}});
}
