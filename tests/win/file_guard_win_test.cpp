// Save that asks before it overwrites a file another program changed, and the system
// menu's restore of the file from before the last save.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/config_layout.h"
#include "support/scratch_dir.h"
#include "ui/file_guard_win.h"
#include "ui/language_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "window_fixture.h"

using config_layout::DefaultParts;
using config_layout::FileParts;
using config_layout::kConnectIdAt;
using config_layout::kScreenSizeAt;
using testing_support::DataEntries;
using testing_support::ReadBytes;

namespace {

const char kChanged[] = "設定ファイルが他のプログラムによって変更されています。上書きしますか？";
const char kRestoreAsk[] =
    "設定を前回の保存前の状態に戻しますか？\n今のファイルはバックアップとして残ります。保存していない変更は失われます。";
const char kRestoreOlderAsk[] =
    "前回の保存のときバックアップは他のプログラムが使用中で更新できず、前回の保存前より古い設定のままです。その古い設定に戻しますか？\n"
    "今のファイルはバックアップとして残ります。保存していない変更は失われます。";
const char kNoBackup[] = "前回の保存前のファイルがありません";
const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";
const char kBackupPath[] = "Data\\GameConfig.dat.bak";

// The default file with the connect-to ID `id`: what this or another program saved.
std::vector<std::uint8_t> FileWithId(const std::string& id) {
    FileParts parts = DefaultParts();
    parts.connect_id = config_layout::IdField(id);
    return parts.Bytes();
}

void WriteBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string IdIn(const std::vector<std::uint8_t>& file) {
    return std::string(reinterpret_cast<const char*>(file.data()) + kConnectIdAt);
}

std::uint64_t WriteTime(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
}

class FileGuardTest : public WindowFixture {
protected:
    void PrepareConfig() override { folder_->WriteConfig(FileWithId("loaded")); }

    bool RestoreItemGreyed() const {
        return (GetMenuState(GetSystemMenu(main_window, FALSE), kMenuRestore, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    std::wstring RestoreItemText() const {
        wchar_t text[96] = {};
        GetMenuStringW(GetSystemMenu(main_window, FALSE), kMenuRestore, text, 96, MF_BYCOMMAND);
        return text;
    }
    void ChooseRestore() {
        SendMessageW(main_window, WM_SYSCOMMAND, kMenuRestore, 0);
        PumpMessages();
    }
    // Another program opens `path` without sharing, for `ms` milliseconds or until Release.
    void Hold(const wchar_t* path, DWORD ms = INFINITE) {
        held_ = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ms != INFINITE)
            release_ = std::thread([file = std::exchange(held_, INVALID_HANDLE_VALUE), ms] { Sleep(ms), CloseHandle(file); });
    }
    void Release() {
        if (release_.joinable()) release_.join();
        if (held_ != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(held_, INVALID_HANDLE_VALUE));
    }
    void TearDown() override { Release(), WindowFixture::TearDown(); }
    HANDLE held_ = INVALID_HANDLE_VALUE;
    std::thread release_;

    // An edit a save writes: the connect-to ID.
    void TypeId(const char* id) {
        SetDlgItemTextA(Page(kConnectPage), IDC_CONNECT_ID, id);
    }
};

TEST_F(FileGuardTest, SaveAsksOnlyWhenAnotherProgramChangedOrRemovedTheFile) {
    enum Meanwhile { kNothing, kOtherSave, kRemoved, kHeldAMoment, kHeldForGood };
    struct Case {
        const char* name;
        Meanwhile meanwhile;
        bool answer;
        int questions;
        const char* id_after;  // the ID in the file afterwards; null: no file
        const char* backup;    // the ID in the backup; null: none
        const char* message = nullptr;
    };
    const Case cases[] = {
        {"unchanged: no question", kNothing, true, 0, "mine", "loaded"},
        {"changed, Yes: ours replaces theirs, kept as the backup", kOtherSave, true, 1, "mine", "theirs"},
        {"changed, No: their file untouched", kOtherSave, false, 1, "theirs", nullptr},
        {"vanished, Yes: saved anew", kRemoved, true, 1, "mine", nullptr},
        {"vanished, No: still none", kRemoved, false, 1, nullptr, nullptr},
        {"held for half a second: no question, saved", kHeldAMoment, true, 0, "mine", "loaded"},
        {"held for good: no question, not saved", kHeldForGood, true, 0, "loaded", nullptr, kSaveFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        answer_ = c.answer;
        TypeId("mine");
        if (c.meanwhile == kOtherSave) folder_->WriteConfig(FileWithId("theirs"));
        if (c.meanwhile == kRemoved) std::filesystem::remove(folder_->ConfigPath());
        const std::uint64_t time_before = WriteTime(folder_->ConfigPath());
        if (c.meanwhile == kHeldAMoment) Hold(L"Data\\GameConfig.dat", 500);
        if (c.meanwhile == kHeldForGood) Hold(L"Data\\GameConfig.dat");
        Click(kOptionsPage, IDC_SAVE);
        Release();

        ASSERT_EQ(questions_.size(), static_cast<std::size_t>(c.questions));
        for (const Question& q : questions_) {
            EXPECT_EQ(q.owner, main_window);
            EXPECT_EQ(q.text, kChanged);
        }
        EXPECT_EQ(Messages(), c.message != nullptr ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ(folder_->ConfigExists(), c.id_after != nullptr);
        if (c.id_after != nullptr) {
            EXPECT_EQ(IdIn(folder_->ReadConfig()), c.id_after);
        }
        if (!c.answer && c.meanwhile == kOtherSave) {
            EXPECT_EQ(folder_->ReadConfig(), FileWithId("theirs"));
            EXPECT_EQ(WriteTime(folder_->ConfigPath()), time_before);
        }
        if (c.backup != nullptr) {
            EXPECT_EQ(IdIn(ReadBytes(kBackupPath)), c.backup);
        } else {
            EXPECT_FALSE(std::filesystem::exists(kBackupPath));
        }
        EXPECT_EQ(RestoreItemGreyed(), c.backup == nullptr);

        // After a save the window holds the file it wrote: the next save asks nothing.
        if (c.answer) {
            questions_.clear();
            Click(kOptionsPage, IDC_SAVE);
            EXPECT_TRUE(questions_.empty());
        }
    }
}

// The question is open for as long as the user takes; a write meanwhile is asked about
// again rather than lost.
TEST_F(FileGuardTest, AWriteWhileTheQuestionIsOpenIsAskedAboutAgain) {
    TypeId("mine");
    folder_->WriteConfig(FileWithId("theirs"));
    while_asked_ = [] {
        static int writes = 0;
        if (++writes == 1) WriteBytes("Data\\GameConfig.dat", FileWithId("theirs again"));
    };
    Click(kOptionsPage, IDC_SAVE);
    EXPECT_EQ(questions_.size(), 2u);
    EXPECT_EQ(IdIn(folder_->ReadConfig()), "mine");
    EXPECT_EQ(IdIn(ReadBytes(kBackupPath)), "theirs again");
}

// A backup that a save could not refresh is never offered as the file from before it: a
// read-only one is replaced, one held without sharing is named older by the question.
TEST_F(FileGuardTest, RestoreNeverCallsAnOlderBackupTheFileBeforeTheLastSave) {
    const struct {
        const char* name;
        bool held;  // else read-only
        const char* backup;
        const char* question;
    } cases[] = {
        {"read-only: replaced all the same", false, "first", kRestoreAsk},
        {"held during the save: older, and said so", true, "loaded", kRestoreOlderAsk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        TypeId("first");
        Click(kOptionsPage, IDC_SAVE);
        if (c.held) {
            Hold(L"Data\\GameConfig.dat.bak");
        } else {
            ASSERT_TRUE(SetFileAttributesA(kBackupPath, FILE_ATTRIBUTE_READONLY));
        }
        TypeId("second");
        Click(kOptionsPage, IDC_SAVE);
        Release();
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(IdIn(ReadBytes(kBackupPath)), c.backup);
        ChooseRestore();
        ASSERT_EQ(questions_.size(), 1u);
        EXPECT_EQ(questions_[0].text, c.question);
        EXPECT_EQ(IdIn(folder_->ReadConfig()), c.backup);
        EXPECT_EQ(IdIn(ReadBytes(kBackupPath)), "second");
    }
}

// Restore asks the Save's question before it replaces a file another program changed;
// No leaves that file, Yes keeps it as the backup.
TEST_F(FileGuardTest, RestoreAsksFirstWhenAnotherProgramChangedTheFile) {
    Click(kOptionsPage, IDC_SAVE);  // the backup is "loaded"
    folder_->WriteConfig(FileWithId("theirs"));
    answer_ = false;
    ChooseRestore();
    EXPECT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].text, kChanged);
    EXPECT_EQ(folder_->ReadConfig(), FileWithId("theirs"));
    answer_ = true;
    ChooseRestore();
    EXPECT_EQ(folder_->ReadConfig(), FileWithId("loaded"));
    EXPECT_EQ(ReadBytes(kBackupPath), FileWithId("theirs"));
}

TEST_F(FileGuardTest, RestoreFromTheSystemMenuAsksThenBringsBackEveryPage) {
    // No backup yet: greyed, and the command says so should it come all the same.
    EXPECT_TRUE(RestoreItemGreyed());
    EXPECT_EQ(RestoreItemText(), L"前回の保存前に戻す");
    ChooseRestore();
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(Messages(), std::vector<std::string>{kNoBackup});
    recorder_->Clear();

    // A save keeps the loaded file as the backup.
    TypeId("saved");
    Click(kOptionsPage, IDC_SCREEN_1024);
    Click(kOptionsPage, IDC_SAVE);
    EXPECT_FALSE(RestoreItemGreyed());
    const std::vector<std::uint8_t> saved = folder_->ReadConfig();

    // Unsaved edits, then No: nothing changes.
    TypeId("unsaved");
    answer_ = false;
    ChooseRestore();
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].owner, main_window);
    EXPECT_EQ(questions_[0].text, kRestoreAsk);
    EXPECT_EQ(folder_->ReadConfig(), saved);
    char id[32] = {};
    GetDlgItemTextA(Page(kConnectPage), IDC_CONNECT_ID, id, sizeof id);
    EXPECT_STREQ(id, "unsaved");

    // Yes: the loaded file is back, the saved one is the backup, every page shows it.
    answer_ = true;
    ChooseRestore();
    EXPECT_EQ(questions_.size(), 2u);
    EXPECT_EQ(folder_->ReadConfig(), FileWithId("loaded"));
    EXPECT_EQ(ReadBytes(kBackupPath), saved);
    GetDlgItemTextA(Page(kConnectPage), IDC_CONNECT_ID, id, sizeof id);
    EXPECT_STREQ(id, "loaded");
    EXPECT_EQ(IsDlgButtonChecked(Page(kOptionsPage), IDC_SCREEN_1024), BST_UNCHECKED);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(DataEntries(), (std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}));

    // The restored file is what the window holds: a save asks nothing and writes it.
    questions_.clear();
    Click(kOptionsPage, IDC_SAVE);
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(folder_->ReadConfig(), FileWithId("loaded"));

    // The English face names the item in English and keeps it enabled.
    SwitchLanguage(Language::kEnglish);
    EXPECT_EQ(RestoreItemText(), L"Restore the settings before the last save");
    EXPECT_FALSE(RestoreItemGreyed());
    SwitchLanguage(Language::kJapanese);
}

}  // namespace
