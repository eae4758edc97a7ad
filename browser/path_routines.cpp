#include "browser/path_routines.h"

#include <algorithm>

#include "browser/platform_fs.h"

namespace kv {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == kPathDelimiter) return folder + name;
    return folder + kPathDelimiter + name;
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

bool PathWithin(const std::string& path, const std::string& folder) {
    if (folder == "/") return !path.empty() && path[0] == kPathDelimiter;
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == kPathDelimiter);
}

ResolvedPath ResolvePath(const std::string& text, const std::string& base) {
    std::string path = text;
    if (path.size() >= 2 && path.front() == '[' && path.back() == ']') path = path.substr(1, path.size() - 2);
    if (path.empty() || path.front() != kPathDelimiter) path = base.empty() ? path : JoinPath(base, path);
    if (path.empty() || path.front() != kPathDelimiter) path.insert(path.begin(), kPathDelimiter);

    const size_t last = path.rfind(kPathDelimiter);
    ResolvedPath result;
    result.finalPart = path.substr(last + 1);
    result.folder = last == 0 ? std::string(1, kPathDelimiter) : path.substr(0, last);
    // "*" and "?" are ordinary characters in names here, so an existing folder stays a folder
    // whatever its name holds.
    if (!result.finalPart.empty() &&
        (HasWildcard(result.finalPart) ? platform::FolderExists(path) : !platform::FileExists(path))) {
        result.folder = path;
        result.finalPart.clear();
    }
    return result;
}

std::string LowerCaseName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

int CompareNamesIgnoringCase(const std::string& a, const std::string& b) {
    return platform::CollateTexts(LowerCaseName(a), LowerCaseName(b));
}

bool SameName(const std::string& a, const std::string& b, bool matchesCase) {
    return matchesCase ? a == b : LowerCaseName(a) == LowerCaseName(b);
}

}  // namespace kv
