#pragma once
// Every call the browser makes into the operating system: folder listing, path checks, the
// locale's collation, volume case rules and the mount table. The list models use nothing else,
// so they run against any folder tree (tests build theirs under a temporary folder).
//
// Paths are POSIX paths: "/" separates components and the root "/" plays the part of a drive
// root. The models never change the process's current directory; each keeps its folder itself.
#include <string>
#include <vector>

namespace kv::platform {

// Attribute bits of a folder entry, with the values the file list's type set uses.
inline constexpr unsigned kAttrReadOnly = 1;
inline constexpr unsigned kAttrHidden = 2;     // names starting with "."
inline constexpr unsigned kAttrSystem = 4;     // devices, pipes, sockets, dangling links
inline constexpr unsigned kAttrVolumeId = 8;   // never set here
inline constexpr unsigned kAttrDirectory = 16;
inline constexpr unsigned kAttrArchive = 32;   // every regular file

struct FolderEntry {
    std::string name;
    unsigned attributes = 0;
};

// The entries of a folder ("." and ".." left out), symbolic links taken as what they point at.
// A folder that cannot be read yields no entries.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// The folder's canonical full path when it exists and can be entered (searched); empty otherwise.
std::string EnterableFolder(const std::string& path);

// Whether the path names an existing entry that is not a directory.
bool FileExists(const std::string& path);

// Whether the path names an existing directory (entered or not).
bool FolderExists(const std::string& path);

// The process's current directory; "/" when it cannot be read.
std::string CurrentDirectory();

// The folder of the running program's executable file, up to and including its last "/", byte
// for byte (names need not be valid UTF-8); empty when it cannot be read.
std::string ProgramFolder();

// Collation of two texts under the user's locale (case observed): <0, 0 or >0.
int CollateTexts(const std::string& a, const std::string& b);

// Case rules of the volume holding the path: whether it keeps letter case and whether it tells
// names apart by case. Unknown or unreadable volumes count as case-sensitive.
struct CaseRules {
    bool keepsCase = true;
    bool matchesCase = true;
};
CaseRules VolumeCaseRules(const std::string& path);

// The text of /proc/self/mountinfo; empty when it cannot be read.
std::string ReadMountInfo();

// The file system label of a block device (through /dev/disk/by-label); empty when none.
std::string DeviceLabel(const std::string& device);

}  // namespace kv::platform
