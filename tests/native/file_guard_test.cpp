// The store's guard against another program's write: file stamps and their check, the
// save that replaces only the file it expects, and putting the backup back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/config_file.h"
#include "config/file_stamp.h"
#include "config/game_config.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"

using config_layout::DefaultFile;
using config_layout::kBgmVolumeAt;
using testing_support::DataEntries;
using testing_support::MessageRecorder;
using testing_support::ReadBytes;
using testing_support::ScratchGameFolder;

namespace {

const char kPath[] = "Data/GameConfig.dat";
const char kBackup[] = "Data/GameConfig.dat.bak";

void WriteBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The default file with another BGM volume: a file another program saved.
std::vector<std::uint8_t> FileWithBgm(std::uint8_t volume) {
    std::vector<std::uint8_t> bytes = DefaultFile();
    const std::uint8_t value[4] = {volume, 0, 0, 0};
    std::copy(value, value + 4, bytes.begin() + kBgmVolumeAt);
    return bytes;
}

FileStamp StampNow() {
    FileStamp stamp;
    CheckFile(kPath, FileStamp{}, stamp);
    return stamp;
}

TEST(FileGuard, CheckFileTellsEveryStateOfTheFileApart) {
    struct Case {
        const char* name;
        bool there_at_first;
        enum { kKeep, kSameBytesLater, kOtherBytes, kRemove, kCreate } then;
        FileCheck expected;
    };
    const Case cases[] = {
        {"untouched", true, Case::kKeep, FileCheck::kUnchanged},
        {"the same bytes written again", true, Case::kSameBytesLater, FileCheck::kUnchanged},
        {"other bytes of the same size", true, Case::kOtherBytes, FileCheck::kChanged},
        {"removed", true, Case::kRemove, FileCheck::kGone},
        {"still missing", false, Case::kKeep, FileCheck::kUnchanged},
        {"created meanwhile", false, Case::kCreate, FileCheck::kChanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder;
        if (c.there_at_first) WriteBytes(kPath, DefaultFile());
        // An old write time, so that writing the file again surely changes it.
        if (c.then == Case::kSameBytesLater)
            std::filesystem::last_write_time(
                kPath, std::filesystem::last_write_time(kPath) - std::filesystem::file_time_type::duration(1000000000));
        const FileStamp first = StampNow();
        EXPECT_EQ(first.exists, c.there_at_first);
        switch (c.then) {
            case Case::kKeep: break;
            case Case::kSameBytesLater: WriteBytes(kPath, DefaultFile()); break;
            case Case::kOtherBytes: WriteBytes(kPath, FileWithBgm(7)); break;
            case Case::kRemove: std::filesystem::remove(kPath); break;
            case Case::kCreate: WriteBytes(kPath, DefaultFile()); break;
        }
        FileStamp found;
        EXPECT_EQ(CheckFile(kPath, first, found), c.expected);
        if (c.then == Case::kSameBytesLater) {
            EXPECT_NE(found.write_time, first.write_time);
        }
    }
}

std::vector<std::uint8_t> hook_writes;
void WriteAsAnotherProgram() { WriteBytes(kPath, hook_writes); }

TEST(FileGuard, ASaveReplacesOnlyTheFileItExpects) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    WriteBytes(kPath, DefaultFile());
    ASSERT_TRUE(LoadConfig());
    const FileStamp loaded = ConfigFileStamp();
    EXPECT_TRUE(loaded.exists);
    EXPECT_EQ(loaded.size, DefaultFile().size());

    // Another program writes between our read and our replace: nothing of ours lands,
    // no temporary is left, nothing is said.
    hook_writes = FileWithBgm(7);
    SetBeforeReplaceHook(WriteAsAnotherProgram);
    game_config.options.bgm_volume = 3;
    EXPECT_EQ(SaveConfigIfUnchanged(kPath, loaded, nullptr), SaveStatus::kChanged);
    SetBeforeReplaceHook(nullptr);
    EXPECT_EQ(ReadBytes(kPath), FileWithBgm(7));
    EXPECT_EQ(DataEntries(), std::vector<std::string>{"GameConfig.dat"});
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(SameContent(ConfigFileStamp(), loaded));

    // Expecting the file as it now is, the save goes through; the file it checked is
    // the backup, and the stamp is now that of the bytes written.
    const FileStamp theirs = StampNow();
    EXPECT_EQ(SaveConfigIfUnchanged(kPath, theirs, nullptr), SaveStatus::kSaved);
    EXPECT_EQ(ReadBytes(kBackup), FileWithBgm(7));
    const std::vector<std::uint8_t> ours = ReadBytes(kPath);
    EXPECT_EQ(ours[kBgmVolumeAt], 3);
    EXPECT_TRUE(std::ranges::equal(ConfigFileStamp().Bytes(), ours));
    EXPECT_EQ(ConfigFileStamp().size, ours.size());
    FileStamp found;
    EXPECT_EQ(CheckFile(kPath, ConfigFileStamp(), found), FileCheck::kUnchanged);

    // A file that was expected to be missing and appeared is not replaced either.
    std::filesystem::remove(kPath);
    EXPECT_EQ(SaveConfigIfUnchanged(kPath, FileStamp{}, nullptr), SaveStatus::kSaved);
    EXPECT_EQ(SaveConfigIfUnchanged(kPath, FileStamp{}, nullptr), SaveStatus::kChanged);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(FileGuard, RestorePutsTheBackupBackAndKeepsTheFileItReplaces) {
    struct Case {
        const char* name;
        bool file_there;
        std::vector<std::uint8_t> backup;  // empty: no backup
        RestoreStatus expected;
    };
    std::vector<std::uint8_t> newer = DefaultFile();
    newer[0] = 0x11;  // version 273
    const Case cases[] = {
        {"a backup and a file swap places", true, FileWithBgm(9), RestoreStatus::kRestored},
        {"a backup without a file becomes the file", false, FileWithBgm(9), RestoreStatus::kRestored},
        {"no backup", true, {}, RestoreStatus::kNoBackup},
        {"a backup too short for its version", true, {0x10}, RestoreStatus::kBackupUnusable},
        {"a backup of a newer version", true, newer, RestoreStatus::kBackupUnusable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder;
        MessageRecorder messages;
        if (c.file_there) WriteBytes(kPath, DefaultFile());
        if (!c.backup.empty()) WriteBytes(kBackup, c.backup);
        GameConfig config;
        ClearConfig(config);
        EXPECT_EQ(RestoreConfigBackup(kPath, config, StampNow()), c.expected);
        EXPECT_TRUE(messages.Messages().empty());
        if (c.expected != RestoreStatus::kRestored) {
            EXPECT_EQ(ReadBytes(kPath), c.file_there ? DefaultFile() : std::vector<std::uint8_t>{});
            EXPECT_EQ(ReadBytes(kBackup), c.backup);
            EXPECT_EQ(config.options.bgm_volume, 0);
            continue;
        }
        EXPECT_EQ(ReadBytes(kPath), c.backup);
        // The replaced file is the new backup, so a second restore undoes the first.
        EXPECT_EQ(ReadBytes(kBackup), c.file_there ? DefaultFile() : c.backup);
        EXPECT_EQ(config.options.bgm_volume, 9);
        EXPECT_TRUE(std::ranges::equal(ConfigFileStamp().Bytes(), c.backup));
        EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
        if (c.file_there) {
            EXPECT_EQ(RestoreConfigBackup(kPath, config, StampNow()), RestoreStatus::kRestored);
            EXPECT_EQ(ReadBytes(kPath), DefaultFile());
        }
    }
}

}  // namespace
