#pragma once
// The volumes the drive selector lists. Paths have no drive letters here, so the selector shows
// the root file system and the mounted volumes a player would look for pictures on:
//   - "/" itself, as a fixed drive;
//   - network file systems (NFS, SMB/CIFS, sshfs, ...) wherever they are mounted;
//   - CD and DVD file systems (iso9660, udf) wherever they are mounted;
//   - block devices the kernel marks removable, wherever they are mounted;
//   - writable RAM file systems (tmpfs, ramfs) mounted below /media, /run/media or /mnt, as RAM
//     disks;
//   - any other file system mounted below /media or /run/media as a removable drive, below
//     /mnt as a fixed one.
// Pseudo file systems (proc, sysfs, cgroups, automount placeholders, ...) and everything else
// (bind mounts inside the root, the system's own tmpfs, ...) stay out. Labels come from the
// label links, so no medium is touched; a removable volume or RAM disk without one is labelled
// with its mount point's name. The order is the mount table's, with "/" first; a mount point
// mounted over again is listed once, in the place of its first mount, with what was mounted last.
#include <functional>
#include <string>
#include <vector>

namespace kv {

enum class TDriveKind { Removable, Fixed, Network, CDRom, RamDisk };

struct TVolume {
    TDriveKind kind = TDriveKind::Fixed;
    std::string mountPoint;
    std::string label;       // file system label; empty when unknown
    std::string remoteName;  // network volumes: the mount source, such as //server/share
};

// The volumes of a mount table in the text form of /proc/self/mountinfo. `labelOf` gives the
// label of a mount source (a device path), `removableDevice` whether a block device
// ("major:minor") is removable; either may be empty. Malformed lines are skipped.
std::vector<TVolume> VolumesFromMountInfo(const std::string& mountInfo,
                                          const std::function<std::string(const std::string& source)>& labelOf,
                                          const std::function<bool(const std::string& device)>& removableDevice = {});

// Where the system's volumes are read from; tests point these at fixture files.
struct VolumeSources {
    std::string mountInfo = "/proc/self/mountinfo";
    std::string labelFolder = "/dev/disk/by-label";  // udev's label links
    std::string sysFolder = "/sys";                  // block device attributes
};

// The volumes of the mount table, with labels from the label links; no medium is touched.
std::vector<TVolume> DiscoverVolumes(const VolumeSources& sources = {});

}  // namespace kv
