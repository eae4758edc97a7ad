#include "browser/platform_fs.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace kv::platform {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// File systems that ignore letter case in names (they keep it all the same).
constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011BAB0;
constexpr long kNtfsMagic = 0x5346544e;

unsigned AttributesOf(int dirFd, const char* name) {
    unsigned attributes = name[0] == '.' ? kAttrHidden : 0;
    struct stat info {};
    if (::fstatat(dirFd, name, &info, 0) != 0) return attributes | kAttrSystem;  // dangling link
    if (S_ISDIR(info.st_mode)) {
        attributes |= kAttrDirectory;
    } else if (S_ISREG(info.st_mode)) {
        attributes |= kAttrArchive;
    } else {
        attributes |= kAttrSystem;
    }
    if (::faccessat(dirFd, name, W_OK, 0) != 0) attributes |= kAttrReadOnly;
    return attributes;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) return entries;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        entries.push_back({entry->d_name, AttributesOf(dirFd, entry->d_name)});
    }
    return entries;
}

std::string EnterableFolder(const std::string& path) {
    if (path.empty()) return {};
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return {};
    struct stat info {};
    if (::stat(resolved.get(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
    if (::access(resolved.get(), X_OK) != 0) return {};
    return resolved.get();
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

CaseRules VolumeCaseRules(const std::string& path) {
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0) return {};
    const long type = static_cast<long>(info.f_type);
    if (type == kMsdosMagic || type == kExfatMagic || type == kNtfsMagic) return {true, false};
    return {};
}

std::string ReadMountInfo() {
    std::ifstream in("/proc/self/mountinfo");
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DeviceLabel(const std::string& device) {
    if (device.empty() || device[0] != '/') return {};
    std::unique_ptr<char, decltype(&std::free)> target(::realpath(device.c_str(), nullptr), &std::free);
    if (!target) return {};
    std::unique_ptr<DIR, DirCloser> dir(::opendir("/dev/disk/by-label"));
    if (!dir) return {};
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        const std::string link = std::string("/dev/disk/by-label/") + entry->d_name;
        std::unique_ptr<char, decltype(&std::free)> linked(::realpath(link.c_str(), nullptr), &std::free);
        if (linked && std::strcmp(linked.get(), target.get()) == 0) {
            // udev escapes blanks and other bytes as \xNN in these names.
            std::string label;
            const std::string name = entry->d_name;
            for (size_t i = 0; i < name.size(); ++i) {
                if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
                    label += static_cast<char>(std::strtol(name.substr(i + 2, 2).c_str(), nullptr, 16));
                    i += 3;
                } else {
                    label += name[i];
                }
            }
            return label;
        }
    }
    return {};
}

}  // namespace kv::platform
