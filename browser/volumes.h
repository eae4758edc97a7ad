#pragma once
// The volumes the drive selector lists. Paths have no drive letters here, so the selector shows
// the root file system and the mounted volumes a player would look for pictures on:
//   - "/" itself, as a fixed drive;
//   - network file systems (NFS, SMB/CIFS, sshfs, ...) wherever they are mounted;
//   - CD and DVD file systems (iso9660, udf) wherever they are mounted;
//   - any other file system mounted below /media, /run/media or /mnt: from a block device under
//     /mnt a fixed drive, otherwise a removable one.
// Everything else (proc, sysfs, tmpfs, cgroups, bind mounts inside the root, ...) stays out.
// The order is the mount table's, with "/" first; a mount point mounted over again is listed
// once, in the place of its first mount, with what was mounted last.
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
// label of a mount source (a device path); malformed lines are skipped.
std::vector<TVolume> VolumesFromMountInfo(const std::string& mountInfo,
                                          const std::function<std::string(const std::string& source)>& labelOf);

// The volumes of this process's mount table, with labels from the device links.
std::vector<TVolume> DiscoverVolumes();

}  // namespace kv
