#include "browser/wildcard.h"

#include "browser/path_routines.h"

namespace kv {
namespace {

// Iterative matcher with one backtrack point: linear in practice, no recursion on hostile names.
bool Match(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
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
    const std::string lowerPattern = LowerCaseName(pattern);
    const std::string lowerName = LowerCaseName(name);
    if (Match(lowerPattern, lowerName)) return true;
    if (lowerPattern.size() >= 2 && lowerPattern.ends_with(".*") && lowerName.find('.') == std::string::npos) {
        return Match(lowerPattern.substr(0, lowerPattern.size() - 2), lowerName);
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
