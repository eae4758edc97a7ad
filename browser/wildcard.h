#pragma once
// Wildcard patterns of the file list's mask: "*" stands for any run of characters, "?" for any
// one character, letters match regardless of ASCII case. As on the platforms the mask texts come
// from, a pattern ending in ".*" also matches names without any extension, so "*.*" matches
// every name.
#include <string>
#include <vector>

namespace kv {

bool MatchesWildcard(const std::string& pattern, const std::string& name);

// The mask's patterns from left to right; empty parts (as after a trailing ";") are dropped.
std::vector<std::string> SplitMask(const std::string& mask);

}  // namespace kv
