// Saving on Windows: a file another program holds or marks read-only is never damaged.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "config/config_file.h"
#include "support/scratch_dir.h"

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
    EXPECT_FALSE(SaveConfig([] { *flag = true; }));
    EXPECT_FALSE(harvested);
    messages.Clear();
    EXPECT_FALSE(WriteConfigFile());
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"コンフィグファイルの保存に失敗しました"});
    EXPECT_EQ(folder.ReadConfig(), before);
    EXPECT_EQ(GetFileAttributesA("Data\\GameConfig.dat.new"), INVALID_FILE_ATTRIBUTES);
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
    ASSERT_EQ(after.size(), 552u);
    EXPECT_EQ(after[2 + 36], 0xb3);  // voice_volume -77 = 0xffffffb3
}
