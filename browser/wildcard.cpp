#include "browser/wildcard.h"

#include <string_view>

namespace kv {
namespace {

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Iterative matcher with one backtrack point: linear in practice, no recursion on hostile names.
// Letters compare folded, so nothing is copied per name.
bool Match(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Folded(pattern[p]) == Folded(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
    if (pattern.empty()) return false;
    if (Match(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.ends_with(".*") && name.find('.') == std::string::npos) {
        return Match(std::string_view(pattern).substr(0, pattern.size() - 2), name);
    }
    return false;
}

std::vector<std::string> SplitMask(const std::string& mask) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= mask.size()) {
        size_t end = mask.find(';', start);
        if (end == std::string::npos) end = mask.size();
        if (end > start) parts.push_back(mask.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace kv
