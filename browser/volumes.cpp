#include "browser/volumes.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>

#include "browser/platform_fs.h"

namespace kv {
namespace {

constexpr std::array<std::string_view, 12> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "glusterfs", "9p", "fuse.sshfs", "fuse.rclone"};
constexpr std::array<std::string_view, 2> kDiscTypes = {"iso9660", "udf"};
constexpr std::array<std::string_view, 2> kRamTypes = {"tmpfs", "ramfs"};
// Kernel and helper file systems that hold no pictures of the player's, wherever they sit; an
// automount point is a placeholder until its volume is mounted over it.
constexpr std::array<std::string_view, 24> kPseudoTypes = {
    "autofs",   "proc",        "sysfs", "devtmpfs",   "devpts", "cgroup",    "cgroup2",         "securityfs",
    "debugfs",  "tracefs",     "configfs", "fusectl", "bpf",    "mqueue",    "hugetlbfs",       "pstore",
    "efivarfs", "binfmt_misc", "nsfs",  "rpc_pipefs", "nfsd",   "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal"};

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool Below(const std::string& path, std::string_view folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// Mount points escape blanks, tabs, new lines and backslashes as octal \NNN.
std::string Unescape(const std::string& field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<long>(i) + 1, field.begin() + static_cast<long>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            text += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

struct MountLine {
    std::string device;  // "major:minor"
    std::string mountPoint;
    bool readOnly = false;
    std::string type;
    std::string source;
};

bool ParseLine(const std::string& line, MountLine& mount) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, options, field;
    if (!(fields >> id >> parent >> device >> root >> mountPoint >> options)) return false;
    while (fields >> field && field != "-") {
    }
    if (field != "-") return false;
    if (!(fields >> mount.type >> mount.source)) return false;
    mount.device = device;
    mount.readOnly = options == "ro" || options.rfind("ro,", 0) == 0;
    mount.mountPoint = Unescape(mountPoint);
    mount.source = Unescape(mount.source);
    return !mount.mountPoint.empty() && mount.mountPoint[0] == '/';
}

}  // namespace

std::vector<TVolume> VolumesFromMountInfo(const std::string& mountInfo,
                                          const std::function<std::string(const std::string& source)>& labelOf,
                                          const std::function<bool(const std::string& device)>& removableDevice) {
    std::vector<TVolume> volumes;
    volumes.push_back({TDriveKind::Fixed, "/", {}, {}});
    std::istringstream lines(mountInfo);
    std::string line;
    while (std::getline(lines, line)) {
        MountLine mount;
        if (!ParseLine(line, mount)) continue;
        TVolume volume;
        volume.mountPoint = mount.mountPoint;
        const bool fromDevice = mount.source.rfind("/dev/", 0) == 0;
        const bool playerFolder =
            Below(mount.mountPoint, "/media") || Below(mount.mountPoint, "/run/media") || Below(mount.mountPoint, "/mnt");
        if (mount.mountPoint == "/") {
            volume.kind = TDriveKind::Fixed;
        } else if (OneOf(kNetworkTypes, mount.type)) {
            volume.kind = TDriveKind::Network;
            volume.remoteName = mount.source;
        } else if (OneOf(kDiscTypes, mount.type)) {
            volume.kind = TDriveKind::CDRom;
        } else if (OneOf(kPseudoTypes, mount.type)) {
            continue;
        } else if (OneOf(kRamTypes, mount.type)) {
            // /run, /tmp and /dev/shm are the system's own; one mounted for the player is a RAM
            // disk, unless it is read-only (an empty placeholder, nothing can be put there).
            if (!playerFolder || mount.readOnly) continue;
            volume.kind = TDriveKind::RamDisk;
        } else if (fromDevice && removableDevice && removableDevice(mount.device)) {
            volume.kind = TDriveKind::Removable;
        } else if (Below(mount.mountPoint, "/media") || Below(mount.mountPoint, "/run/media")) {
            volume.kind = TDriveKind::Removable;  // where the desktop mounts what is plugged in
        } else if (Below(mount.mountPoint, "/mnt")) {
            volume.kind = TDriveKind::Fixed;
        } else {
            continue;
        }
        if (fromDevice && labelOf) volume.label = labelOf(mount.source);
        // Without a label two sticks (or RAM disks) are told apart by their mount points' names,
        // which the desktop takes from the label or the volume's serial number.
        if (volume.label.empty() && (volume.kind == TDriveKind::Removable || volume.kind == TDriveKind::RamDisk)) {
            volume.label = volume.mountPoint.substr(volume.mountPoint.rfind('/') + 1);
        }
        auto same = std::find_if(volumes.begin(), volumes.end(),
                                 [&](const TVolume& listed) { return listed.mountPoint == volume.mountPoint; });
        if (same != volumes.end()) {
            *same = volume;
        } else {
            volumes.push_back(volume);
        }
    }
    return volumes;
}

std::vector<TVolume> DiscoverVolumes(const VolumeSources& sources) {
    return VolumesFromMountInfo(
        platform::ReadTextFile(sources.mountInfo),
        [&](const std::string& source) { return platform::DeviceLabel(source, sources.labelFolder); },
        [&](const std::string& device) { return platform::BlockDeviceRemovable(device, sources.sysFolder); });
}

}  // namespace kv
