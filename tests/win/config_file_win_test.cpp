// Loading and saving on Windows: a file another program holds or marks read-only is never
// damaged or replaced with defaults.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <cstring>
#include <optional>
#include <string_view>
#include <thread>

#include "config/file_system.h"
#include "ui/config_file.h"
#include "page_files.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"
#include "ui/startup_win.h"

using config_layout::kBgmVolumeAt;
using config_layout::kVoiceVolumeAt;
using testing_support::DataEntries;
using testing_support::MessageRecorder;
using testing_support::ScratchGameFolder;

TEST(ConfigFileWin, ReadOnlyFileIsReportedAndKeptByteForByte) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    messages.Clear();
    std::vector<std::uint8_t> before = folder.ReadConfig();
    ASSERT_TRUE(SetFileAttributesA("Data\\GameConfig.dat", FILE_ATTRIBUTE_READONLY));
    game_config.options.voice_volume = -77;
    EXPECT_FALSE(WriteConfigFile());
    // A save that cannot write gives up before the pages are harvested.
    bool harvested = false;
    static bool* flag = &harvested;
    EXPECT_FALSE(SaveConfig([] {
        *flag = true;
        return true;
    }));
    EXPECT_FALSE(harvested);
    messages.Clear();
    EXPECT_FALSE(WriteConfigFile());
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"コンフィグファイルの保存に失敗しました"});
    EXPECT_EQ(folder.ReadConfig(), before);
    EXPECT_EQ(DataEntries(), std::vector<std::string>{"GameConfig.dat"});
    SetFileAttributesA("Data\\GameConfig.dat", FILE_ATTRIBUTE_NORMAL);
}

TEST(ConfigFileWin, SaveWaitsBrieflyForAProgramHoldingTheFile) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    messages.Clear();
    HANDLE held = CreateFileA("Data\\GameConfig.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // The hold really stands in the way of a save: while it lasts, no file can be moved
    // onto the held one (the way a save puts its new file in place).
    {
        HANDLE probe = CreateFileA("Data\\probe.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(probe, INVALID_HANDLE_VALUE);
        CloseHandle(probe);
        SetLastError(0);
        EXPECT_FALSE(MoveFileExA("Data\\probe.dat", "Data\\GameConfig.dat", MOVEFILE_REPLACE_EXISTING));
        // Windows reports a sharing violation; Wine reports the replace as access denied.
        // The save retries on either.
        const DWORD error = GetLastError();
        EXPECT_TRUE(error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) << error;
        DeleteFileA("Data\\probe.dat");
    }
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    game_config.options.voice_volume = -77;
    bool saved = WriteConfigFile();
    release.join();
    EXPECT_TRUE(saved);
    EXPECT_TRUE(messages.Messages().empty());
    std::vector<std::uint8_t> after = folder.ReadConfig();
    ASSERT_EQ(after.size(), config_layout::kFileBytes);
    EXPECT_EQ(after[kVoiceVolumeAt], 0xb3);  // voice_volume -77 = 0xffffffb3
}

namespace {

const char kLoadFailed[] = "コンフィグファイルの読み込みに失敗しました";
const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";

// Opens the configuration file as another program would, with the access and the sharing
// given; closes it when it goes.
struct Holder {
    Holder(DWORD access, DWORD share)
        : handle(CreateFileW(L"Data\\GameConfig.dat", access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr)) {}
    ~Holder() { Release(); }
    void Release() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    HANDLE handle;
};

// A file of someone's settings: screen 1024x768, BGM -3000, the ID "MYID", address 1.2.3.4.
std::vector<std::uint8_t> SomeonesSettings() {
    std::vector<std::uint8_t> bytes = page_files::File272(page_files::UnusualOptionBlock(),
                                                          std::vector<std::uint8_t>(336, 0));
    bytes[config_layout::kScreenSizeAt] = 2;
    const std::uint8_t bgm[] = {0x48, 0xf4, 0xff, 0xff};
    std::memcpy(&bytes[kBgmVolumeAt], bgm, 4);
    std::memcpy(&bytes[config_layout::kConnectIdAt], "MYID", 5);
    const std::uint8_t address[] = {1, 2, 3, 4};
    std::memcpy(&bytes[config_layout::kConnectAddressesAt], address, 4);
    return bytes;
}

}  // namespace

// A file another program holds at start-up is never replaced with defaults: after about a
// second of waiting the load fails, start-up shows its one message and no window.
TEST(ConfigFileWin, StartUpLeavesAFileHeldByAnotherProgramAsItIs) {
    const struct {
        const char* name;
        DWORD access;
        DWORD share;
    } cases[] = {
        {"no sharing", GENERIC_READ, 0},
        {"no read sharing", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE | FILE_SHARE_DELETE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder;
        const std::vector<std::uint8_t> settings = SomeonesSettings();
        folder.WriteConfig(settings);
        MessageRecorder messages;
        Holder holder(c.access, c.share);
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(RunTool(GetModuleHandleA(nullptr), SW_SHOWNORMAL), 0);
        holder.Release();
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{kLoadFailed});
        EXPECT_EQ(FindWindowA("QORConfig", nullptr), nullptr);
        EXPECT_EQ(folder.ReadConfig(), settings);
        EXPECT_EQ(DataEntries(), std::vector<std::string>{"GameConfig.dat"});
    }
}

// A program that keeps the file open so that it cannot be replaced gets the new bytes
// written into the file in place, when its sharing allows writing; otherwise the save
// fails and the file keeps its old bytes. Nothing of ours stays in Data either way.
TEST(ConfigFileWin, SaveWritesInPlaceWhereTheHolderAllowsWriting) {
    const struct {
        const char* name;
        DWORD access;
        DWORD share;
        bool saved;
    } cases[] = {
        {"read and write sharing, as a C runtime opens files", GENERIC_READ | GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"a reader sharing reading and writing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"read sharing only", GENERIC_READ, FILE_SHARE_READ, false},
        {"no sharing", GENERIC_READ, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder;
        const std::vector<std::uint8_t> before = SomeonesSettings();
        folder.WriteConfig(before);
        MessageRecorder messages;
        ASSERT_TRUE(LoadConfig());
        Holder holder(c.access, c.share);
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        game_config.options.voice_volume = -77;
        EXPECT_EQ(WriteConfigFile(), c.saved);
        holder.Release();
        const std::vector<std::uint8_t> after = folder.ReadConfig();
        if (c.saved) {
            EXPECT_TRUE(messages.Messages().empty());
            std::vector<std::uint8_t> expected = before;
            const std::uint8_t voice[] = {0xb3, 0xff, 0xff, 0xff};
            std::memcpy(&expected[kVoiceVolumeAt], voice, 4);
            EXPECT_EQ(after, expected);
            EXPECT_EQ(testing_support::ReadBytes("Data\\GameConfig.dat.bak"), before);
            EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
        } else {
            EXPECT_EQ(messages.Messages(), std::vector<std::string>{kSaveFailed});
            EXPECT_EQ(after, before);
            EXPECT_EQ(DataEntries(), std::vector<std::string>{"GameConfig.dat"});
        }
        ReleaseConfig();
    }
}

// The saved file keeps the attributes the old one had, whichever way it was written.
TEST(ConfigFileWin, SaveKeepsTheFilesAttributes) {
    for (bool held : {false, true}) {
        SCOPED_TRACE(held ? "written in place" : "replaced");
        ScratchGameFolder folder;
        MessageRecorder messages;
        ASSERT_TRUE(LoadConfig());
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        ASSERT_TRUE(SetFileAttributesW(L"Data\\GameConfig.dat", kept));
        ASSERT_EQ(GetFileAttributesW(L"Data\\GameConfig.dat") & kept, kept);
        std::optional<Holder> holder;
        if (held) holder.emplace(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        game_config.options.voice_volume = -77;
        EXPECT_TRUE(WriteConfigFile());
        holder.reset();
        EXPECT_EQ(GetFileAttributesW(L"Data\\GameConfig.dat") & kept, kept);
        EXPECT_EQ(folder.ReadConfig()[kVoiceVolumeAt], 0xb3);
        SetFileAttributesW(L"Data\\GameConfig.dat", FILE_ATTRIBUTE_NORMAL);
        ReleaseConfig();
    }
}

// A program that holds the file for a moment delays a load and a save, which then go on
// as usual: the settings load, and the save keeps the old file as the backup.
TEST(ConfigFileWin, AProgramHoldingTheFileForAMomentOnlyDelaysLoadAndSave) {
    ScratchGameFolder folder;
    const std::vector<std::uint8_t> before = SomeonesSettings();
    folder.WriteConfig(before);
    MessageRecorder messages;
    for (bool saving : {false, true}) {
        SCOPED_TRACE(saving ? "save" : "load");
        HANDLE held = CreateFileW(L"Data\\GameConfig.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::thread release([held] {
            Sleep(300);
            CloseHandle(held);
        });
        game_config.options.voice_volume = -77;
        const bool done = saving ? WriteConfigFile() : LoadConfig();
        release.join();
        EXPECT_TRUE(done);
    }
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(game_config.options.screen_size, 2);
    EXPECT_STREQ(game_config.connect_id, "MYID");
    EXPECT_EQ(folder.ReadConfig()[kVoiceVolumeAt], 0xb3);
    EXPECT_EQ(testing_support::ReadBytes("Data\\GameConfig.dat.bak"), before);
    ReleaseConfig();
}

// A reader that shares everything, as this tool's own loads open the file, keeps the file
// from being replaced while it reads, yet lets the backup be a second name of it: the save
// renames its new file into place once the reader lets go, with the old file as the
// backup, rather than try to write in place.
TEST(ConfigFileWin, SaveReplacesTheFileOnceAReaderSharingEverythingLetsGo) {
    ScratchGameFolder folder;
    const std::vector<std::uint8_t> before = SomeonesSettings();
    folder.WriteConfig(before);
    MessageRecorder messages;
    ASSERT_TRUE(LoadConfig());
    static std::optional<Holder> reader;
    static int renames;
    reader.emplace(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(reader->handle, INVALID_HANDLE_VALUE);
    renames = 0;
    // The reader lets go when the save comes back to the rename it refused.
    SetFailingFileTest([](FileStep step, const char* path) {
        if (step == FileStep::kRename && std::string_view(path).ends_with("GameConfig.dat") && ++renames == 2)
            reader->Release();
        return FileProblem::kNone;
    });
    game_config.options.voice_volume = -77;
    EXPECT_TRUE(WriteConfigFile());
    SetFailingFileTest(nullptr);
    reader.reset();
    EXPECT_EQ(renames, 2);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(folder.ReadConfig()[kVoiceVolumeAt], 0xb3);
    EXPECT_EQ(testing_support::ReadBytes("Data\\GameConfig.dat.bak"), before);
    EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));
    ReleaseConfig();
}

namespace {

// What `info` asks of a file's security descriptor, as text (SDDL: "O:S-1-..." for its
// owner, "D:..." for its access list); "" when it cannot be read.
std::wstring DescriptorText(const wchar_t* path, SECURITY_INFORMATION info) {
    DWORD needed = 0;
    GetFileSecurityW(path, info, nullptr, 0, &needed);
    std::vector<std::uint8_t> descriptor(needed);
    LPWSTR text = nullptr;
    if (needed == 0 || !GetFileSecurityW(path, info, descriptor.data(), needed, &needed) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1, info, &text, nullptr))
        return L"";
    std::wstring result = text;
    LocalFree(text);
    return result;
}

}  // namespace

// A renamed file keeps its own security descriptor, so a save that only renamed its new
// file into place would give it the folder's inherited access: the replaced file's access
// list goes onto the new file before the rename, and the backup keeps what the replaced
// file had, whether it is a second name of it or a copy, and whether the file is
// replaced or written in place. Wine keeps of a descriptor only what the Unix permission
// bits can say, so the file's own list here is one they can: its owner and the system
// alone, nobody else.
TEST(ConfigFileWin, SaveKeepsTheFilesAccessList) {
    for (bool links : {true, false})
        for (bool held : {false, true}) {
            SCOPED_TRACE(std::string(links ? "links" : "copies") + (held ? ", written in place" : ", replaced"));
            ScratchGameFolder folder;
            MessageRecorder messages;
            ASSERT_TRUE(LoadConfig());
            const std::wstring owner = DescriptorText(L"Data\\GameConfig.dat", OWNER_SECURITY_INFORMATION);
            ASSERT_EQ(owner.substr(0, 2), L"O:");
            const std::wstring own_list = L"D:P(A;;FA;;;SY)(A;;FA;;;" + owner.substr(2) + L")";
            PSECURITY_DESCRIPTOR own = nullptr;
            ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(own_list.c_str(), SDDL_REVISION_1, &own, nullptr));
            ASSERT_TRUE(SetFileSecurityW(L"Data\\GameConfig.dat", DACL_SECURITY_INFORMATION, own));
            LocalFree(own);
            const std::wstring before = DescriptorText(L"Data\\GameConfig.dat", DACL_SECURITY_INFORMATION);
            ASSERT_NE(before, L"");
            ASSERT_NE(before, DescriptorText(L"Data", DACL_SECURITY_INFORMATION)) << "the folder's own would pass unseen";
            SetNoLinksTest(!links);
            std::optional<Holder> holder;
            if (held) holder.emplace(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
            game_config.options.voice_volume = -77;
            EXPECT_TRUE(WriteConfigFile());
            holder.reset();
            SetNoLinksTest(false);
            EXPECT_EQ(folder.ReadConfig()[kVoiceVolumeAt], 0xb3);
            EXPECT_EQ(DescriptorText(L"Data\\GameConfig.dat", DACL_SECURITY_INFORMATION), before);
            EXPECT_EQ(DescriptorText(L"Data\\GameConfig.dat.bak", DACL_SECURITY_INFORMATION), before);
            EXPECT_EQ(DescriptorText(L"Data\\GameConfig.dat", OWNER_SECURITY_INFORMATION), owner);
            ReleaseConfig();
        }
}
