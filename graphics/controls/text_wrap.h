#pragma once
// Breaking a label's text into lines.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Width in pixels of a piece of text.
using TextMeasure = std::function<int(std::string_view text)>;

// The lines of text: a line ends at each line feed (a carriage return before it is dropped).
// With wrapping, words (runs of characters other than blanks) are added to a line while it stays
// within maxWidth; at a break the blanks between the two words are dropped. A word wider than
// maxWidth stands alone on its line and is not split. Leading blanks of a paragraph are kept.
std::vector<std::string> BreakLines(std::string_view text, bool wrap, int maxWidth, const TextMeasure& measure);

}  // namespace kv
