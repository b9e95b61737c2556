// The configuration file on disk: creation with defaults, version handling, failures.
#include <gtest/gtest.h>

#include "ui/config_file.h"
#include "config/config_store.h"
#include "config/file_system.h"
#include "config/game_config.h"
#include "message/error_message.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

using config_layout::DefaultFile;
using config_layout::DefaultParts;
using config_layout::FileParts;
using config_layout::kBgmVolumeAt;
using config_layout::Slice;
using testing_support::DataEntries;
using testing_support::Hex;
using testing_support::MessageRecorder;
using testing_support::ScratchGameFolder;
using testing_support::StepFails;

TEST(ConfigFile, MissingFileIsCreatedWithTheDefaultBytes) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"コンフィグファイルが読み込めませんでした\n新規作成します"});
    ASSERT_EQ(DefaultFile().size(), 552u);
    EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    EXPECT_EQ(game_config.options.input_method[0], 0);
    EXPECT_EQ(game_config.options.key_map[1], IdentityKeyMap());
    EXPECT_EQ(game_config.options.loading_illustration, 3);
}

namespace {

const char kCreating[] = "コンフィグファイルが読み込めませんでした\n新規作成します";
const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";
const char kCreateFailed[] = "コンフィグファイルの新規作成に失敗しました";
const char kNewer[] = "新しいバージョンのコンフィグファイルです";

using Messages = std::vector<std::string>;

std::vector<std::uint8_t> FileOfVersion(std::uint16_t version) {
    std::vector<std::uint8_t> bytes = DefaultFile();
    bytes[0] = version & 0xff;
    bytes[1] = version >> 8;
    return bytes;
}

int harvest_calls = 0;
bool harvest_saw_file_open = false;
bool CountingHarvest() {
    ++harvest_calls;
    // The save holds its lock while the pages are harvested: no other writer could take it.
    FileLock other = kNoLock;
    harvest_saw_file_open = TryLockFile("Data/GameConfig.dat.lock", other) == LockResult::kBusy;
    ReleaseLock(other);
    game_config.options.bgm_volume = -1234;
    return true;
}

}  // namespace

TEST(ConfigFile, FilesTooShortForAVersionAreCreatedAnew) {
    for (std::size_t length : {0u, 1u}) {
        ScratchGameFolder folder;
        MessageRecorder messages;
        folder.WriteConfig(std::vector<std::uint8_t>(length, 0x10));
        ASSERT_TRUE(LoadConfig());
        EXPECT_EQ(messages.Messages(), Messages{kCreating});
        EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    }
}

TEST(ConfigFile, NewerVersionIsRefusedAndLeftOnDisk) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    std::vector<std::uint8_t> newer = FileOfVersion(273);
    folder.WriteConfig(newer);
    EXPECT_FALSE(LoadConfig());
    EXPECT_EQ(messages.Messages(), Messages{kNewer});
    EXPECT_EQ(folder.ReadConfig(), newer);
}

TEST(ConfigFile, MissingDataFolderFailsTheCreationWithTwoMoreMessages) {
    ScratchGameFolder folder(/*with_data_folder=*/false);
    MessageRecorder messages;
    EXPECT_FALSE(LoadConfig());
    EXPECT_EQ(messages.Messages(), (Messages{kCreating, kSaveFailed, kCreateFailed}));
    EXPECT_FALSE(folder.ConfigExists());
}

TEST(ConfigFile, OldVersionLoadsAndIsSavedAsTheCurrentVersion) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    folder.WriteConfig(DefaultParts().Bytes(259));
    ASSERT_TRUE(LoadConfig());
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_TRUE(WriteConfigFile());
    EXPECT_EQ(folder.ReadConfig(), DefaultFile());
}

TEST(ConfigFile, SaveHarvestsOnlyOnceTheOutputIsOpen) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    messages.Clear();

    harvest_calls = 0;
    ASSERT_TRUE(SaveConfig(CountingHarvest));
    EXPECT_EQ(harvest_calls, 1);
    EXPECT_TRUE(harvest_saw_file_open);
    std::vector<std::uint8_t> saved = folder.ReadConfig();
    EXPECT_EQ(Slice(saved, kBgmVolumeAt, 4), Hex("2efbffff"));
    EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
    EXPECT_TRUE(messages.Messages().empty());

    // The output cannot be opened (the folder is gone): no harvest, one message, the old
    // file untouched.
    std::filesystem::rename("Data", "Data-away");
    game_config.options.bgm_volume = 0;
    EXPECT_FALSE(SaveConfig(CountingHarvest));
    std::filesystem::rename("Data-away", "Data");
    EXPECT_EQ(harvest_calls, 1);
    EXPECT_EQ(game_config.options.bgm_volume, 0);
    EXPECT_EQ(messages.Messages(), Messages{kSaveFailed});
    EXPECT_EQ(folder.ReadConfig(), saved);
    EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
}

TEST(ConfigFile, FailedReplaceKeepsTheOldFileAndRemovesTheTemporary) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    messages.Clear();
    // A non-empty folder where the file should be cannot be replaced on any system.
    std::filesystem::remove("Data/GameConfig.dat");
    std::filesystem::create_directories("Data/GameConfig.dat/keep");
    EXPECT_FALSE(WriteConfigFile());
    EXPECT_EQ(messages.Messages(), Messages{kSaveFailed});
    EXPECT_TRUE(std::filesystem::exists("Data/GameConfig.dat/keep"));
    EXPECT_EQ(DataEntries(), std::vector<std::string>{"GameConfig.dat"});
}

// What the window says of a save's end: a folder that cannot be flushed is said in words
// of its own, as the file was written; a drive that allows no lock is not said at all,
// since a player can do nothing about it; a failure is the save's failure.
TEST(ConfigFile, TheWindowSaysWhatASaveDidInItsOwnWords) {
    const struct {
        const char* name;
        FailingFileTest fail;
        LockRefusal lock;
        bool written;
        Messages messages;
    } rows[] = {
        {"saved", nullptr, LockRefusal::kNone, true, {}},
        {"the folder not flushed", StepFails<FileStep::kFlushFolder, FileProblem::kOther>, LockRefusal::kNone, true,
         {"コンフィグファイルは保存しましたが、ディスクに書き込まれたことを確認できませんでした。\n"
          "停電などがあると、今回の変更が失われるおそれがあります。"}},
        {"no lock possible", nullptr, LockRefusal::kEvery, true, {}},
        {"a read-only file system", StepFails<FileStep::kCheckWrite, FileProblem::kReadOnlyFileSystem>,
         LockRefusal::kNone, false, {kSaveFailed}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        MessageRecorder messages;
        ASSERT_TRUE(LoadConfig());
        const std::vector<std::uint8_t> before = folder.ReadConfig();
        messages.Clear();
        SetFailingFileTest(row.fail);
        SetLockRefusalTest(row.lock);
        game_config.options.bgm_volume = -1234;
        EXPECT_EQ(WriteConfigFile(), row.written);
        SetFailingFileTest(nullptr);
        SetLockRefusalTest(LockRefusal::kNone);
        EXPECT_EQ(messages.Messages(), row.messages);
        EXPECT_EQ(folder.ReadConfig() != before, row.written);
        // The window's record stands for what was written: its next save asks nothing.
        FileStamp found;
        EXPECT_EQ(CheckFile("Data/GameConfig.dat", ConfigFileStamp(), found),
                  FileCheck::kUnchanged);
        EXPECT_EQ(std::filesystem::exists("Data/GameConfig.dat.bak"), row.written);
    }
}

namespace {

std::vector<std::uint8_t> theirs;
// While the message that a new file will be created is open, another program creates it.
void AnotherProgramCreatesTheFile(const char*) { std::ofstream("Data/GameConfig.dat", std::ios::binary).write(
    reinterpret_cast<const char*>(theirs.data()), static_cast<std::streamsize>(theirs.size())); }

}  // namespace

// The window creates the file only where none stands: a file that appeared while its
// message was open is read, not overwritten with the defaults.
TEST(ConfigFile, AFileThatAppearedMeanwhileIsReadNotOverwritten) {
    ScratchGameFolder folder;
    FileParts parts = DefaultParts();
    parts.denied = {{1, 2, 3, 4}};
    theirs = parts.Bytes();
    const ErrorMessageSink previous = SetErrorMessageSink(AnotherProgramCreatesTheFile);
    const bool loaded = LoadConfig();
    SetErrorMessageSink(previous);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(folder.ReadConfig(), theirs);
    ASSERT_EQ(game_config.denied_patterns.size(), 1u);
    EXPECT_EQ(game_config.denied_patterns[0].octets[3], 4);
    EXPECT_FALSE(std::filesystem::exists("Data/GameConfig.dat.bak"));
}

#ifndef _WIN32
// A file that opens but cannot be read (here a folder, which POSIX lets fopen open) is
// not replaced with defaults: the load fails and nothing is written.
TEST(ConfigFile, UnreadableOpenFileFailsTheLoadWithoutWriting) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    std::filesystem::create_directories("Data/GameConfig.dat/keep");
    EXPECT_FALSE(LoadConfig());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(std::filesystem::exists("Data/GameConfig.dat/keep"));
    EXPECT_EQ(DataEntries(), std::vector<std::string>{"GameConfig.dat"});
}
#endif

namespace {

void SetBgm(std::int32_t value) { game_config.options.bgm_volume = value; }
bool HarvestBgmMinus1() {
    SetBgm(-1);
    return true;
}
bool HarvestBgmMinus2() {
    SetBgm(-2);
    return true;
}

// A version-272 file cut short inside its address table: it loads with zeros for the rest.
std::vector<std::uint8_t> DamagedFile() {
    std::vector<std::uint8_t> bytes = DefaultFile();
    bytes[config_layout::kScreenSizeAt] = 2;  // 1024x768, so the file differs from what a save writes
    bytes.resize(150);
    return bytes;
}

std::vector<std::uint8_t> Version259File() {
    FileParts parts = DefaultParts();
    parts.connect_id.fill(0x33);
    for (auto& address : parts.connect) address.fill(0x33);
    parts.opaque_word_1 = 0x33333333;
    return parts.Bytes(259);
}

}  // namespace

// Each save keeps what it replaces, one generation deep; an older or damaged file that a
// first save rewrites survives as the backup.
TEST(ConfigFile, EverySaveKeepsTheFileItReplacesAsTheBackup) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> first;
    } cases[] = {{"version 259", Version259File()}, {"damaged", DamagedFile()}, {"current", DefaultFile()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder;
        MessageRecorder messages;
        folder.WriteConfig(c.first);
        ASSERT_TRUE(LoadConfig());
        ASSERT_TRUE(SaveConfig(HarvestBgmMinus1));
        const std::vector<std::uint8_t> saved = folder.ReadConfig();
        EXPECT_EQ(saved.size(), config_layout::kFileBytes);
        EXPECT_EQ(saved[kBgmVolumeAt], 0xff);
        EXPECT_EQ(testing_support::ReadBytes("Data/GameConfig.dat.bak"), c.first);
        ASSERT_TRUE(SaveConfig(HarvestBgmMinus2));
        EXPECT_EQ(testing_support::ReadBytes("Data/GameConfig.dat.bak"), saved);
        EXPECT_EQ(folder.ReadConfig()[kBgmVolumeAt], 0xfe);
        EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
        EXPECT_TRUE(messages.Messages().empty());
    }
}

// Whatever stands at the names a save might use (a leftover of the old fixed temporary
// name, a read-only file, a folder where the backup goes) blocks neither the creation of a
// missing file nor a save, and is left as it was.
TEST(ConfigFile, NothingLeftInTheDataFolderBlocksASave) {
    const struct {
        const char* name;
        bool folder;
        bool backup_kept;  // false when the blocker stands where the backup goes
    } cases[] = {
        {"GameConfig.dat.new", true, true},
        {"GameConfig.dat.new", false, true},
        {"GameConfig.dat.bak", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.folder ? " folder" : " read-only file"));
        ScratchGameFolder folder;
        MessageRecorder messages;
        const std::filesystem::path blocker = std::filesystem::path("Data") / c.name;
        if (c.folder) {
            std::filesystem::create_directories(blocker / "keep");
        } else {
            std::ofstream(blocker) << "x";
            std::filesystem::permissions(blocker, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
        }
        ASSERT_TRUE(LoadConfig());
        EXPECT_EQ(messages.Messages(), Messages{kCreating});
        ASSERT_TRUE(SaveConfig(HarvestBgmMinus1));
        EXPECT_EQ(folder.ReadConfig()[kBgmVolumeAt], 0xff);
        std::vector<std::string> expected = {"GameConfig.dat", c.name};
        if (c.backup_kept) expected.push_back("GameConfig.dat.bak");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(DataEntries(), expected);
        if (c.backup_kept) {
            EXPECT_EQ(testing_support::ReadBytes("Data/GameConfig.dat.bak"), DefaultFile());
        }
        EXPECT_EQ(messages.Messages(), Messages{kCreating});
        if (!c.folder) std::filesystem::permissions(blocker, std::filesystem::perms::owner_all);
    }
}

// Temporary files of the older naming ("GameConfig.dat.<process>-<serial>.tmp") are
// leftovers whenever a save holds the lock, whatever process number or time they carry;
// names that only look alike are not ours and stay.
TEST(ConfigFile, LeftoverTemporariesAreRemovedUnderTheLock) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    const struct {
        std::string name;
        bool removed;
    } kRows[] = {
        {"GameConfig.dat.1-0.tmp", true},  // process 1 always runs
        {"GameConfig.dat." + std::to_string(CurrentProcessId()) + "-7.tmp", true},
        {"GameConfig.dat.99999999-0.tmp", true},  // written "in the future", below
        {"GameConfig.dat.new.tmp", true},         // a save that never put its file in place
        {"GameConfig.dat.mine-1.tmp", false},
        {"GameConfig.dat.1-0.tmp.txt", false},
        {"Other.dat.1-0.tmp", false},
    };
    for (const auto& row : kRows) std::ofstream(std::filesystem::path("Data") / row.name) << "x";
    messages.Clear();
    std::filesystem::last_write_time("Data/GameConfig.dat.99999999-0.tmp",
                                     std::filesystem::file_time_type::clock::now() + std::chrono::hours(24 * 365));
    ASSERT_TRUE(SaveConfig(HarvestBgmMinus1));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(folder.ReadConfig()[kBgmVolumeAt], 0xff);
    for (const auto& row : kRows)
        EXPECT_EQ(std::filesystem::exists(std::filesystem::path("Data") / row.name), !row.removed) << row.name;
}

// The whole file arrives whatever its size, the empty file included.
TEST(ConfigFile, ReadFileBytesReturnsTheWholeFile) {
    ScratchGameFolder folder;
    for (std::size_t size : {0u, 1u, 552u, 16385u, (1u << 20) + 3u}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
        folder.WriteConfig(bytes);
        FileBytes read;
        ASSERT_EQ(ReadFileBytes(ConfigFilePath(), read), ReadStatus::kOk);
        EXPECT_EQ(std::vector<std::uint8_t>(read.View().begin(), read.View().end()), bytes);
    }
    FileBytes none;
    EXPECT_EQ(ReadFileBytes("Data/absent.dat", none), ReadStatus::kMissing);
    EXPECT_EQ(ReadFileBytes("Absent/absent.dat", none), ReadStatus::kMissing);
}

namespace {

// The store names each outcome of a load; on a failed one the record is left alone.
TEST(ConfigStore, LoadTellsEachKindOfFileApart) {
    auto resized = [](std::vector<std::uint8_t> bytes, std::size_t size) {
        bytes.resize(size, 0);
        return bytes;
    };
    const struct {
        const char* name;
        std::optional<std::vector<std::uint8_t>> file;  // none: no file at all
        LoadStatus status;
        bool read;
    } cases[] = {
        {"no file", std::nullopt, LoadStatus::kMissing, false},
        {"one byte", std::vector<std::uint8_t>{0x10}, LoadStatus::kNoVersion, false},
        {"newer", FileOfVersion(273), LoadStatus::kNewer, false},
        {"current and whole", DefaultFile(), LoadStatus::kOk, true},
        {"current, one byte short", resized(DefaultFile(), DefaultFile().size() - 1), LoadStatus::kDamaged, true},
        {"current, one byte over", resized(DefaultFile(), DefaultFile().size() + 1), LoadStatus::kDamaged, true},
        {"version 259, as long as its layout", resized(FileOfVersion(259), 2 + 68 + 17 + 96 + 4), LoadStatus::kOk, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder;
        if (c.file) folder.WriteConfig(*c.file);
        GameConfig config;
        ClearConfig(config);
        config.opaque_word_1 = 0xdeadbeef;
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(LoadConfigFile(ConfigFilePath(), config, &bytes), c.status);
        EXPECT_EQ(config.opaque_word_1 == 0xdeadbeef, !c.read);
        if (c.file) {
            EXPECT_EQ(bytes, *c.file);
        }
    }
}

}  // namespace
