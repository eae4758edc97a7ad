#pragma once
// Every call the browser makes into the operating system: folder listing, path checks, the
// locale's collation, volume case rules and the mount table. The list models use nothing else,
// so they run against any folder tree (tests build theirs under a temporary folder).
//
// Paths are POSIX paths: "/" separates components and the root "/" plays the part of a drive
// root. The models never change the process's current directory; each keeps its folder itself.
#include <memory>
#include <string>
#include <vector>

namespace kv::platform {

// Attribute bits of a folder entry, with the values the file list's type set uses.
inline constexpr unsigned kAttrReadOnly = 1;    // not set by ListFolder: ask EntryReadOnly
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
// The kinds come with the folder's entries where the file system gives them; only links and
// entries of unknown kind cost a status query. A folder that cannot be read yields no entries.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// Whether the process may not write the folder's entry (one access query).
bool EntryReadOnly(const std::string& folder, const std::string& name);

// One reading of a folder, handed from one list to another that shows the same folder.
struct FolderListing {
    std::string folder;
    std::vector<FolderEntry> entries;
};
using FolderListingPtr = std::shared_ptr<const FolderListing>;

// How often ListFolder has read a folder, and how many status or access queries it has made for
// single entries, since the program started (tests and benchmarks watch the listing's cost).
unsigned long FolderReads();
unsigned long EntryQueries();

// The folder's full path as walked, when it exists and can be entered (searched); empty
// otherwise. As in a shell's logical working directory, symbolic links stay in the path and ".."
// takes back the component before it; a relative path is taken from the current directory. A
// path whose folder is already one of its own ancestors (a link leading back up) gives that
// ancestor, so following a loop never deepens the path.
std::string EnterableFolder(const std::string& path);

// Collation key of a text under the user's locale: keys compare with plain byte comparison
// exactly as the texts collate.
std::string CollationKey(const std::string& text);

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

// The text of a small system file (the mount table, a /sys attribute), at most `limit` bytes;
// empty when it cannot be read.
std::string ReadTextFile(const std::string& path, size_t limit = size_t{1} << 20);

// The file system label of a block device, from a folder of label links in udev's form (names
// are labels with \xNN escapes, each linking to the device node); empty when none links there.
std::string DeviceLabel(const std::string& device, const std::string& labelFolder = "/dev/disk/by-label");

// Whether the kernel marks the block device "major:minor" (or, for a partition, the disk holding
// it) as removable, read from the attributes under `sysFolder` (normally /sys).
bool BlockDeviceRemovable(const std::string& majorMinor, const std::string& sysFolder = "/sys");

}  // namespace kv::platform
