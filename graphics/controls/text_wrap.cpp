#include "graphics/controls/text_wrap.h"

namespace kv {

namespace {

void WrapParagraph(std::string_view paragraph, int maxWidth, const TextMeasure& measure,
                   std::vector<std::string>& lines) {
    std::string line;
    size_t pos = 0;
    // Leading blanks belong to the first word of the paragraph.
    while (pos < paragraph.size()) {
        const size_t blanksEnd = paragraph.find_first_not_of(' ', pos);
        if (blanksEnd == std::string_view::npos) {
            // Trailing blanks stay on the last line.
            line.append(paragraph.substr(pos));
            break;
        }
        size_t wordEnd = paragraph.find(' ', blanksEnd);
        if (wordEnd == std::string_view::npos) wordEnd = paragraph.size();
        const std::string_view blanks = paragraph.substr(pos, blanksEnd - pos);
        const std::string_view word = paragraph.substr(blanksEnd, wordEnd - blanksEnd);
        std::string candidate = line;
        candidate.append(blanks).append(word);
        if (line.empty() || measure(candidate) <= maxWidth) {
            line = std::move(candidate);
        } else {
            lines.push_back(std::move(line));
            line.assign(word);
        }
        pos = wordEnd;
    }
    lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> BreakLines(std::string_view text, bool wrap, int maxWidth, const TextMeasure& measure) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string_view paragraph = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        if (wrap) WrapParagraph(paragraph, maxWidth, measure, lines);
        else lines.emplace_back(paragraph);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace kv
