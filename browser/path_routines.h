#pragma once
// Path routines shared by the directory list and the file list: joining a folder and a name,
// splitting a typed or handed-over path into its folder and final part, and the name
// comparisons the lists sort and match with.
#include <string>

namespace kv {

inline constexpr char kPathDelimiter = '/';

// The folder followed by the name, with one delimiter between them (none added after the
// root "/", which already ends in one).
std::string JoinPath(const std::string& folder, const std::string& name);

struct ResolvedPath {
    std::string folder;     // the folder part, a full path (not yet canonical)
    std::string finalPart;  // a file name or wildcard pattern; empty when the text names a folder
};

// Splits a path into its folder and final part. A relative text is taken from `base`, and a
// text in square brackets (a folder row of the file list) loses them. A final part without
// wildcards that is not an existing file is taken as a folder and moved into the folder part, as
// is an existing folder whose name holds wildcard characters.
ResolvedPath ResolvePath(const std::string& text, const std::string& base);

bool HasWildcard(const std::string& text);

// Whether a full path is the folder itself or lies below it ("/" holds every full path).
bool PathWithin(const std::string& path, const std::string& folder);

// ASCII letters lower-cased; other bytes (UTF-8 sequences included) kept as they are.
std::string LowerCaseName(const std::string& name);

// The order of list rows: both texts lower-cased, then collated under the user's locale.
int CompareNamesIgnoringCase(const std::string& a, const std::string& b);

// Whether two names or paths are the same under the volume's case rule: exactly when the volume
// tells names apart by case, else ignoring ASCII case.
bool SameName(const std::string& a, const std::string& b, bool matchesCase);

}  // namespace kv
