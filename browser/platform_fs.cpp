#include "browser/platform_fs.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace kv::platform {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// File systems that ignore letter case in names (they keep it all the same).
constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011BAB0;
constexpr long kNtfsMagic = 0x5346544e;

unsigned long folderReads = 0;
unsigned long entryQueries = 0;

// Attributes of an entry: from the entry's own kind, or, for links and file systems that give
// none, from a status query.
unsigned AttributesOf(int dirFd, const dirent& entry) {
    const unsigned attributes = entry.d_name[0] == '.' ? kAttrHidden : 0;
    switch (entry.d_type) {
        case DT_DIR: return attributes | kAttrDirectory;
        case DT_REG: return attributes | kAttrArchive;
        case DT_LNK:
        case DT_UNKNOWN: break;
        default: return attributes | kAttrSystem;
    }
    ++entryQueries;
    struct stat info {};
    if (::fstatat(dirFd, entry.d_name, &info, 0) != 0) return attributes | kAttrSystem;  // dangling link
    if (S_ISDIR(info.st_mode)) return attributes | kAttrDirectory;
    if (S_ISREG(info.st_mode)) return attributes | kAttrArchive;
    return attributes | kAttrSystem;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) return entries;
    ++folderReads;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        entries.push_back({entry->d_name, AttributesOf(dirFd, *entry)});
    }
    return entries;
}

bool EntryReadOnly(const std::string& folder, const std::string& name) {
    ++entryQueries;
    const std::string path = folder.empty() || folder.back() != '/' ? folder + "/" + name : folder + name;
    return ::access(path.c_str(), W_OK) != 0;
}

unsigned long FolderReads() { return folderReads; }
unsigned long EntryQueries() { return entryQueries; }

std::string EnterableFolder(const std::string& path) {
    if (path.empty()) return {};
    const std::string absolute = path[0] == '/' ? path : CurrentDirectory() + "/" + path;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= absolute.size()) {
        size_t end = absolute.find('/', start);
        if (end == std::string::npos) end = absolute.size();
        const std::string part = absolute.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string logical(1, '/');
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) logical += '/';
        logical += parts[i];
    }

    struct stat info {};
    if (::stat(logical.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
    if (::access(logical.c_str(), X_OK) != 0) return {};
    std::string ancestor(1, '/');
    for (size_t i = 0; i < parts.size(); ++i) {
        struct stat above {};
        if (::stat(ancestor.c_str(), &above) == 0 && SameFile(above, info)) return ancestor;
        if (i > 0) ancestor += '/';
        ancestor += parts[i];
    }
    return logical;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string CurrentDirectory() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string("/");
}

std::string ProgramFolder() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) return {};
    path.resize(static_cast<size_t>(length));
    const size_t last = path.rfind('/');
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

int CollateTexts(const std::string& a, const std::string& b) { return std::strcoll(a.c_str(), b.c_str()); }

std::string CollationKey(const std::string& text) {
    std::string key(text.size() + 1, '\0');
    size_t length = std::strxfrm(key.data(), text.c_str(), key.size());
    if (length >= key.size()) {
        key.resize(length + 1);
        length = std::strxfrm(key.data(), text.c_str(), key.size());
    }
    key.resize(length);
    return key;
}

CaseRules VolumeCaseRules(const std::string& path) {
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0) return {};
    const long type = static_cast<long>(info.f_type);
    if (type == kMsdosMagic || type == kExfatMagic || type == kNtfsMagic) return {true, false};
    return {};
}

std::string ReadTextFile(const std::string& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text;
    char buffer[4096];
    while (text.size() < limit) {
        in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, limit - text.size())));
        const std::streamsize got = in.gcount();
        if (got <= 0) break;
        text.append(buffer, static_cast<size_t>(got));
    }
    return text;
}

std::string DeviceLabel(const std::string& device, const std::string& labelFolder) {
    if (device.empty() || device[0] != '/') return {};
    // Links name their device relatively ("../../sdb1"); device-mapper sources resolve to the
    // node they alias ("/dev/dm-0"). A device missing here is matched by its own name.
    std::unique_ptr<char, decltype(&std::free)> target(::realpath(device.c_str(), nullptr), &std::free);
    const std::string node = target ? std::string(target.get()) : device;
    const std::string nodeName = node.substr(node.rfind('/') + 1);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(labelFolder.c_str()));
    if (!dir) return {};
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        const std::string link = labelFolder + "/" + entry->d_name;
        char linked[PATH_MAX];
        const ssize_t length = ::readlink(link.c_str(), linked, sizeof linked - 1);
        if (length <= 0) continue;
        const std::string linkedPath(linked, static_cast<size_t>(length));
        if (linkedPath.substr(linkedPath.rfind('/') + 1) != nodeName) continue;
        // udev escapes blanks and other bytes as \xNN in these names.
        std::string label;
        const std::string name = entry->d_name;
        for (size_t i = 0; i < name.size(); ++i) {
            if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
                std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
                label += static_cast<char>(std::strtol(name.substr(i + 2, 2).c_str(), nullptr, 16));
                i += 3;
            } else {
                label += name[i];
            }
        }
        return label;
    }
    return {};
}

bool BlockDeviceRemovable(const std::string& majorMinor, const std::string& sysFolder) {
    if (majorMinor.empty() || majorMinor.find('/') != std::string::npos) return false;
    const std::string device = sysFolder + "/dev/block/" + majorMinor;
    // A whole disk carries the attribute itself; a partition's folder sits inside its disk's.
    std::string flag = ReadTextFile(device + "/removable", 16);
    if (flag.empty()) flag = ReadTextFile(device + "/../removable", 16);
    return !flag.empty() && flag[0] == '1';
}

}  // namespace kv::platform
