// The drive selector over made-up mount tables: which volumes become rows, their texts and
// glyphs, and the change events of picks and letter changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "browser/drive_combo.h"
#include "browser/volumes.h"
#include "temp_tree.h"

namespace kv::test {
namespace {

// Lines in the kernel's format: id parent dev root mount-point options [optional...] - type source super.
const char* const kMountInfo =
    "22 1 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "1 0 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 1 0:25 / /run rw - tmpfs tmpfs rw\n"
    "41 1 8:17 / /media/usb\\040stick rw shared:30 master:2 - vfat /dev/sdb1 rw\n"
    "42 1 0:50 / /home/me/share rw - cifs //Server/Pictures rw\n"
    "43 1 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
    "44 1 8:33 / /mnt/data rw - ext4 /dev/sdc1 rw\n"
    "this line is broken\n"
    "45 1 8:33 / /mnt/data rw - xfs /dev/sdc2 rw\n";

std::string LabelOf(const std::string& device) {
    if (device == "/dev/sda1") return "System";
    if (device == "/dev/sdc2") return "Data";
    return {};
}

TEST(Volumes, MountTableGivesTheRootAndTheVolumesAPlayerLooksAt) {
    const std::vector<TVolume> volumes = VolumesFromMountInfo(kMountInfo, &LabelOf);
    ASSERT_EQ(volumes.size(), 5u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
    EXPECT_EQ(volumes[0].kind, TDriveKind::Fixed);
    EXPECT_EQ(volumes[0].label, "System");
    EXPECT_EQ(volumes[1].mountPoint, "/media/usb stick");
    EXPECT_EQ(volumes[1].kind, TDriveKind::Removable);
    EXPECT_EQ(volumes[2].kind, TDriveKind::Network);
    EXPECT_EQ(volumes[2].remoteName, "//Server/Pictures");
    EXPECT_EQ(volumes[3].kind, TDriveKind::CDRom);
    // Mounted over: listed once, with the later mount.
    EXPECT_EQ(volumes[4].mountPoint, "/mnt/data");
    EXPECT_EQ(volumes[4].label, "Data");
}

TEST(Volumes, AnEmptyOrUnreadableTableStillHasTheRoot) {
    const std::vector<TVolume> volumes = VolumesFromMountInfo("", nullptr);
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
}

TEST(Volumes, ThisMachinesTableReads) {
    const std::vector<TVolume> volumes = DiscoverVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes[0].mountPoint, "/");
}

struct ShownSelector {
    explicit ShownSelector(const std::string& startFolder, TTextCase textCase = TTextCase::tcLowerCase)
        : box([] { return VolumesFromMountInfo(kMountInfo, &LabelOf); }, startFolder) {
        box.OnChange = [this] { ++changes; };
        if (textCase == TTextCase::tcUpperCase) box.SetTextCase(textCase);
        changes = 0;
        box.CreateWnd();
    }
    TDriveComboBox box;
    int changes = 0;
};

TEST(DriveSelector, RowTextsAndGlyphs) {
    ShownSelector shown("/home/me");
    std::vector<std::string> texts;
    std::vector<TGlyphRole> glyphs;
    for (const TDriveRow& row : shown.box.Rows()) {
        texts.push_back(row.text);
        glyphs.push_back(row.glyph);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"a: [system]", "b: [usb stick]", "c: //server/pictures", "d: []", "e: [data]"}));
    EXPECT_EQ(glyphs, (std::vector<TGlyphRole>{TGlyphRole::Hard, TGlyphRole::Floppy, TGlyphRole::Network,
                                               TGlyphRole::CDRom, TGlyphRole::Hard}));

    // A fixed volume without a label (the root on an overlay or tmpfs) shows the brackets alone.
    TDriveComboBox unlabelled([] { return VolumesFromMountInfo("1 0 0:30 / / rw - overlay overlay rw\n", &LabelOf); }, "/");
    unlabelled.CreateWnd();
    ASSERT_EQ(unlabelled.Rows().size(), 1u);
    EXPECT_EQ(unlabelled.Rows()[0].text, "a: []");
}

TEST(DriveSelector, UpperCaseTexts) {
    ShownSelector shown("/", TTextCase::tcUpperCase);
    EXPECT_EQ(shown.box.Rows()[0].text, "A: [SYSTEM]");
    EXPECT_EQ(shown.box.Rows()[2].text, "C: //SERVER/PICTURES");
    EXPECT_EQ(shown.box.DriveLetter(), 'A');
}

TEST(DriveSelector, StartSelectsTheVolumeHoldingTheStartFolderAndReportsOnce) {
    ShownSelector home("/home/me/share/holiday");
    EXPECT_EQ(home.box.DriveLetter(), 'c');
    EXPECT_EQ(home.box.ItemIndex(), 2);
    EXPECT_EQ(home.box.DriveRoot(), "/home/me/share");
    EXPECT_EQ(home.changes, 1);

    // A mount point's name as a prefix of another folder does not count.
    ShownSelector near("/mnt/database");
    EXPECT_EQ(near.box.DriveLetter(), 'a');
    EXPECT_EQ(near.box.DriveRoot(), "/");
}

TEST(DriveSelector, PickingADifferentDriveReportsTwiceTheSameOnce) {
    ShownSelector shown("/");
    shown.box.PickRow(3);
    EXPECT_EQ(shown.changes, 3);
    EXPECT_EQ(shown.box.DriveLetter(), 'd');
    EXPECT_EQ(shown.box.DriveRoot(), "/media/cdrom");
    EXPECT_EQ(shown.box.Text(), "d: []");
    shown.box.PickRow(3);
    EXPECT_EQ(shown.changes, 4);
    shown.box.PickRow(99);  // not a row: nothing
    EXPECT_EQ(shown.changes, 4);
}

TEST(DriveSelector, SetDriveLetterSelectsByKeyOrNothing) {
    ShownSelector shown("/");
    shown.box.SetDriveLetter('E');
    EXPECT_EQ(shown.box.DriveLetter(), 'e');
    EXPECT_EQ(shown.box.ItemIndex(), 4);
    EXPECT_EQ(shown.changes, 2);
    shown.box.SetDriveLetter('e');  // already selected
    EXPECT_EQ(shown.changes, 2);
    // A key without a row keeps the selection.
    shown.box.SetDriveLetter('z');
    EXPECT_EQ(shown.box.ItemIndex(), 4);
    EXPECT_EQ(shown.box.DriveRoot(), "");
    shown.box.SetDriveLetter('\0');
    EXPECT_EQ(shown.box.ItemIndex(), -1);
    EXPECT_EQ(shown.box.DriveLetter(), '\0');
    EXPECT_EQ(shown.changes, 4);
}

// A machine with two sticks, a card reader, a backup disk, a RAM disk and an automount point,
// described by fixture files in the places the system keeps them.
TEST(Volumes, MountedRemovableVolumesAreLabelledFromTheLabelLinksAndPseudoFileSystemsStayOut) {
    TempTree tree;
    std::ofstream(tree.Path("mountinfo"))
        << "1 0 254:1 / / rw - ext4 /dev/vdz1 rw\n"
           "22 1 0:21 / /proc rw - proc proc rw\n"
           "41 1 8:17 / /media/me/STICK\\040A rw shared:30 - vfat /dev/sdx1 rw\n"
           "42 1 8:33 / /media/me/1234-ABCD rw - exfat /dev/sdy1 rw\n"
           "43 1 0:40 / /mnt/scratch rw - tmpfs tmpfs rw\n"
           "44 1 0:41 / /mnt/auto rw - autofs systemd-1 rw\n"
           "45 1 8:49 / /mnt/backup rw - ext4 /dev/sdz1 rw\n"
           "46 1 8:65 / /srv/card rw - vfat /dev/sdw1 rw\n"
           "47 1 0:42 / /media/me/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw\n"
           "48 1 0:43 / /mnt/placeholder ro,relatime - tmpfs none ro,size=4k\n";
    tree.Folder("by-label");
    std::filesystem::create_symlink("../../sdx1", tree.Path("by-label/STICK\\x20A"));
    std::filesystem::create_symlink("../../sdz1", tree.Path("by-label/Backup"));
    std::filesystem::create_symlink("../../sdw1", tree.Path("by-label/CARD"));
    // /sys/dev/block/M:m links to the partition's folder inside its disk's, which says "removable".
    tree.Folder("sys/dev/block");
    for (const auto& [device, disk, removable] : {std::tuple{"8:17", "sdx", "1"}, std::tuple{"8:33", "sdy", "1"},
                                                  std::tuple{"8:49", "sdz", "0"}, std::tuple{"8:65", "sdw", "1"}}) {
        const std::string diskFolder = std::string("sys/block/") + disk;
        tree.Folder(diskFolder + "/" + disk + "1");
        tree.File(diskFolder + "/removable", std::string(removable) + "\n");
        std::filesystem::create_directory_symlink(tree.Path(diskFolder + "/" + disk + "1"),
                                                  tree.Path(std::string("sys/dev/block/") + device));
    }
    const VolumeSources sources{tree.Path("mountinfo"), tree.Path("by-label"), tree.Path("sys")};
    TDriveComboBox box([&] { return DiscoverVolumes(sources); }, "/");
    box.CreateWnd();
    std::vector<std::string> texts;
    std::vector<TGlyphRole> glyphs;
    for (const TDriveRow& row : box.Rows()) {
        texts.push_back(row.text);
        glyphs.push_back(row.glyph);
    }
    // An unlabelled stick is told apart by its mount point's name; the card is removable wherever
    // it is mounted; the RAM disk shows as one; the automount point, the read-only placeholder and
    // the fuse helper stay out.
    EXPECT_EQ(texts, (std::vector<std::string>{"a: []", "b: [stick a]", "c: [1234-abcd]", "d: [scratch]", "e: [backup]",
                                               "f: [card]"}));
    EXPECT_EQ(glyphs, (std::vector<TGlyphRole>{TGlyphRole::Hard, TGlyphRole::Floppy, TGlyphRole::Floppy, TGlyphRole::Ram,
                                               TGlyphRole::Hard, TGlyphRole::Floppy}));
}

}  // namespace
}  // namespace kv::test
