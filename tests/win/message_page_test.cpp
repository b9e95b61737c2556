// The function message page: its template, the stored texts and targets it shows, the
// 40-byte limit on typing and pasting, and what a save writes for each row.
#include <windows.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "config/game_config.h"
#include "layout_check.h"
#include "page_files.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"
#include "ui/byte_limit_edit_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "text/cp932_text.h"
#include "window_fixture.h"

using config_layout::kMessageBytes;
using config_layout::kMessagesAt;
using config_layout::MessageItem;
using config_layout::Slice;

namespace {

struct Row {
    int text;
    int everyone;
    int team;
};

const Row kRows[8] = {
    {1062, 1060, 1061}, {1065, 1063, 1064}, {1068, 1066, 1067}, {1071, 1069, 1070},
    {1074, 1072, 1073}, {1077, 1075, 1076}, {1081, 1079, 1080}, {1084, 1082, 1083},
};

// Narrow literals here are CP932: "あ" is the two bytes 82 a0.
const std::string kKana = "あ";

class MessagePageTest : public WindowFixture {
protected:
    HWND page() const { return Page(kMessagePage); }
    HWND Edit(int row) const { return Control(kMessagePage, kRows[row].text); }

    std::string Text(int row) const {
        char text[256] = {};
        int length = GetWindowTextA(Edit(row), text, sizeof text);
        return std::string(text, length > 0 ? length : 0);
    }

    bool Team(int row) const { return IsDlgButtonChecked(page(), kRows[row].team) == BST_CHECKED; }
    bool Everyone(int row) const { return IsDlgButtonChecked(page(), kRows[row].everyone) == BST_CHECKED; }

    std::vector<std::uint8_t> SaveAndRead() {
        Command(kMessagePage, IDC_SAVE);
        return folder_->ReadConfig();
    }

    static std::vector<std::uint8_t> Item(const std::vector<std::uint8_t>& file, int row) {
        return Slice(file, kMessagesAt + kMessageBytes * row, kMessageBytes);
    }
};

// Each key is one WM_CHAR, as an ANSI program receives typing: a double-byte character
// comes as its two bytes, lead byte first.
void TypeAnsi(HWND edit, const std::string& keys) {
    for (char key : keys) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 0);
}

// Typing as Wine delivers a character from the keyboard: one Unicode WM_CHAR.
void TypeUnicode(HWND edit, const std::wstring& keys) {
    for (wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 0);
}

// A composition the input method completes at once: its result string reaches the
// focused edit as a user's conversion does.
void CommitThroughInputMethod(HWND edit, const std::wstring& text) {
    SetFocus(edit);
    HIMC context = ImmGetContext(edit);
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text.c_str()),
                                         static_cast<DWORD>(text.size() * sizeof(wchar_t)), nullptr, 0));
    EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    ImmReleaseContext(edit, context);
}

constexpr int kEnd = 1000;  // a selection position past any text: the end

struct EditCase {
    const char* name;
    std::string initial;
    int select_from, select_to;
    enum { kAnsi, kUnicode, kPaste, kReplace, kAnsiThenUndo, kImeResult, kClearThenUndo } how;
    std::string keys;        // ANSI keys, pasted or replacing text
    std::wstring wide_keys;  // for kUnicode and kImeResult
    std::string expected;
    int caret = -1;          // where the caret stands afterwards; -1: not checked
};

const EditCase kEditCases[] = {
    {"45 single-byte keys", "", 0, 0, EditCase::kAnsi, std::string(45, 'a'), L"", std::string(40, 'a')},
    {"25 kana as byte pairs", "", 0, 0, EditCase::kAnsi, Repeat(kKana, 25), L"", Repeat(kKana, 20)},
    {"25 kana as Unicode characters", "", 0, 0, EditCase::kUnicode, "", std::wstring(25, L'\x3042'),
     Repeat(kKana, 20)},
    {"a kana does not fit the last byte, a letter does", std::string(39, 'a'), kEnd, kEnd, EditCase::kAnsi,
     kKana + "b", L"", std::string(39, 'a') + "b"},
    {"a kana in place of a two-byte selection", std::string(40, 'a'), 0, 2, EditCase::kAnsi, kKana, L"",
     kKana + std::string(38, 'a')},
    {"a kana does not fit in place of one byte", std::string(40, 'a'), 0, 1, EditCase::kAnsi, kKana, L"",
     std::string(40, 'a')},
    {"enter needs two bytes", std::string(39, 'a'), kEnd, kEnd, EditCase::kAnsi, "\r", L"",
     std::string(39, 'a')},
    {"enter with two bytes left", std::string(38, 'a'), kEnd, kEnd, EditCase::kAnsi, "\r", L"",
     std::string(38, 'a') + "\r\n"},
    {"backspace at the limit", std::string(40, 'a'), kEnd, kEnd, EditCase::kAnsi, "\b", L"",
     std::string(39, 'a')},
    {"a text set too long is cut to the limit and takes no more keys", std::string(45, 'a'), kEnd, kEnd,
     EditCase::kAnsi, "b", L"", std::string(40, 'a')},
    {"paste cut at a character boundary", std::string(35, 'a'), kEnd, kEnd, EditCase::kPaste,
     "あいうえ", L"", std::string(35, 'a') + "あい"},
    {"paste over a selection", std::string(40, 'a'), 0, 10, EditCase::kPaste, "あいうえおかき", L"",
     "あいうえお" + std::string(30, 'a')},
    {"paste that fits", "ab", kEnd, kEnd, EditCase::kPaste, "ソ表", L"", "abソ表"},
    // Selection positions count characters under Wine: 20 kana are 40 bytes.
    {"undo cannot bring back more than fits", Repeat(kKana, 30), 20, kEnd, EditCase::kAnsiThenUndo, "\b",
     L"", Repeat(kKana, 20)},
    // Only what fits of an input method's result goes in, as with a paste: the text
    // there stays whole, the caret after what went in.
    {"an input method's result at the start of 38 bytes", Repeat("い", 19), 0, 0, EditCase::kImeResult, "",
     L"\x3042\x3042", kKana + Repeat("い", 19), 1},
    // Undo brings back a cleared selection where the limit has since come down to 37
    // bytes: only what undo puts back is cut, the rest stays, the caret after it.
    {"undo near a lowered limit", "xy" + std::string(36, 'a'), 0, 2, EditCase::kClearThenUndo, "", L"",
     "x" + std::string(36, 'a'), 1},
    {"replace with a long text", "", 0, 0, EditCase::kReplace, std::string(50, 'b'), L"",
     std::string(40, 'b')},
    {"replace cut before a kana", std::string(10, 'c'), kEnd, kEnd, EditCase::kReplace,
     std::string(29, 'd') + kKana, L"", std::string(10, 'c') + std::string(29, 'd')},
};

TEST_F(MessagePageTest, TypingAndPastingStopAtFortyBytes) {
    HWND edit = Edit(0);
    for (const EditCase& c : kEditCases) {
        SCOPED_TRACE(c.name);
        SetWindowTextA(edit, c.initial.c_str());
        SendMessageA(edit, EM_SETSEL, c.select_from, c.select_to);
        switch (c.how) {
        case EditCase::kAnsi: TypeAnsi(edit, c.keys); break;
        case EditCase::kUnicode: TypeUnicode(edit, c.wide_keys); break;
        case EditCase::kPaste:
            PutOnClipboard(page(), WideFromCp932(c.keys));
            SendMessageA(edit, WM_PASTE, 0, 0);
            break;
        case EditCase::kAnsiThenUndo:
            TypeAnsi(edit, c.keys);
            SendMessageA(edit, WM_UNDO, 0, 0);
            break;
        case EditCase::kReplace:
            SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(c.keys.c_str()));
            break;
        case EditCase::kImeResult: CommitThroughInputMethod(edit, c.wide_keys); break;
        case EditCase::kClearThenUndo:
            SendMessageW(edit, WM_CLEAR, 0, 0);
            LimitEditBytes(edit, 37);
            SendMessageW(edit, WM_UNDO, 0, 0);
            LimitEditBytes(edit, kMessageTextLimit);
            break;
        }
        PumpMessages();
        EXPECT_EQ(Text(0), c.expected);
        DWORD caret = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        if (c.caret >= 0) {
            EXPECT_EQ(caret, static_cast<DWORD>(c.caret));
        }
    }
}

TEST_F(MessagePageTest, ARefusedKeyKeepsTheSelection) {
    HWND edit = Edit(2);
    SetWindowTextA(edit, std::string(40, 'a').c_str());
    SendMessageA(edit, EM_SETSEL, 3, 4);
    TypeAnsi(edit, kKana);
    DWORD from = 0, to = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 3u);
    EXPECT_EQ(to, 4u);
    EXPECT_EQ(Text(2), std::string(40, 'a'));
}

TEST_F(MessagePageTest, TextsAreSavedWithinFortyBytesAndOnCharacterBoundaries) {
    struct SaveCase {
        std::string shown;     // set directly, so not limited
        std::string field;     // the 41 text bytes saved
    };
    const std::string zeros(41, '\0');
    const SaveCase cases[8] = {
        {std::string(40, 'a'), std::string(40, 'a') + '\0'},
        {Repeat(kKana, 20), Repeat(kKana, 20) + '\0'},
        {"", zeros},
        {std::string(39, 'b') + kKana, std::string(39, 'b') + '\0' + '\0'},
        {Repeat(kKana, 30), Repeat(kKana, 20) + '\0'},
        {std::string(45, 'c'), std::string(40, 'c') + '\0'},
        {"ソ表\r\n", "ソ表\r\n" + std::string(35, '\0')},
        {std::string(38, 'd') + "ｱ" + kKana, std::string(38, 'd') + "ｱ" + '\0' + '\0'},
    };
    for (int row = 0; row < 8; ++row) {
        SetWindowTextA(Edit(row), cases[row].shown.c_str());
    }
    std::vector<std::uint8_t> file = SaveAndRead();
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        ASSERT_EQ(cases[row].field.size(), 41u);
        std::vector<std::uint8_t> expected = MessageItem(cases[row].field, 0);
        EXPECT_EQ(Item(file, row), expected);
    }
}

TEST_F(MessagePageTest, TargetsFollowTheClicksAndEachRowSwitchesOnItsOwn) {
    for (int row = 0; row < 8; ++row) {
        EXPECT_TRUE(Everyone(row));
        EXPECT_FALSE(Team(row));
    }
    for (int row = 0; row < 8; row += 2) Click(kMessagePage, kRows[row].team);
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Team(row), row % 2 == 0);
        EXPECT_EQ(Everyone(row), row % 2 == 1);
    }
    std::vector<std::uint8_t> file = SaveAndRead();
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(file[kMessagesAt + kMessageBytes * row + 41], row % 2 == 0 ? 1 : 0) << row;
    Click(kMessagePage, kRows[4].everyone);
    EXPECT_TRUE(Everyone(4));
    EXPECT_FALSE(Team(4));
    EXPECT_TRUE(Team(2));
    EXPECT_TRUE(Team(6));
}

// Stored entries as a file holds them, including damaged ones.
class MessageFileTest : public MessagePageTest {
protected:
    void PrepareConfig() override {
        std::vector<std::uint8_t> messages;
        for (const Stored& s : Entries()) {
            auto item = MessageItem(s.field, s.target);
            messages.insert(messages.end(), item.begin(), item.end());
        }
        original_ = page_files::File272(page_files::UnusualOptionBlock(), messages);
        folder_->WriteConfig(original_);
    }

    struct Stored {
        std::string field;   // the 41 stored bytes
        std::uint8_t target;
        std::string shown;
        bool team;
        std::string saved_field;
        std::uint8_t saved_target;
    };

    static std::vector<Stored> Entries() {
        std::string kana20 = Repeat(kKana, 20);
        return {
            {std::string("hello\0junk", 10), 0, "hello", false, std::string("hello\0junk", 10), 0},
            {std::string(40, 'x'), 1, std::string(40, 'x'), true, std::string(40, 'x'), 1},
            {kana20, 5, kana20, true, kana20, 1},
            // Damaged: no NUL in the 41 bytes. At most 40 bytes show, cut before a
            // double-byte character that would not fit.
            {std::string(41, 'z'), 255, std::string(40, 'z'), true, std::string(40, 'z') + '\0', 1},
            {std::string(39, 'y') + kKana, 0, std::string(39, 'y'), false,
             std::string(39, 'y') + '\0' + "\xa0", 0},
            {"", 0, "", false, "", 0},
            {"ソ表", 1, "ソ表", true, "ソ表", 1},
            {"F8", 2, "F8", true, "F8", 1},
        };
    }

    std::vector<std::uint8_t> original_;
};

TEST_F(MessageFileTest, EveryStoredEntryShowsAndSavesBackNormalised) {
    const std::vector<Stored> entries = Entries();
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(SendMessageA(Edit(row), EM_GETLIMITTEXT, 0, 0), 40);
        EXPECT_EQ(Text(row), entries[row].shown);
        EXPECT_EQ(Team(row), entries[row].team);
        EXPECT_EQ(Everyone(row), !entries[row].team);
    }
    std::vector<std::uint8_t> file = SaveAndRead();
    ASSERT_EQ(file.size(), original_.size());
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Item(file, row), MessageItem(entries[row].saved_field, entries[row].saved_target));
    }
    // Everything before the messages is as it was.
    EXPECT_EQ(Slice(file, 0, kMessagesAt), Slice(original_, 0, kMessagesAt));
}

TEST_F(MessageFileTest, PopulateAgainSetsTheLimitAndTheStoredTexts) {
    SendMessageA(Edit(1), EM_LIMITTEXT, 5, 0);
    SetWindowTextA(Edit(1), "changed");
    Click(kMessagePage, kRows[1].everyone);
    PopulatePage(kMessagePage);
    EXPECT_EQ(SendMessageA(Edit(1), EM_GETLIMITTEXT, 0, 0), 40);
    EXPECT_EQ(Text(1), std::string(40, 'x'));
    EXPECT_TRUE(Team(1));
    EXPECT_FALSE(Everyone(1));
}

class OldMessageFileTest : public MessagePageTest {
protected:
    void PrepareConfig() override {
        config_layout::FileParts file = config_layout::DefaultParts();
        file.options.assign(config_layout::kOptionsBytes, 0);
        file.connect_id = config_layout::IdField("old");
        folder_->WriteConfig(file.Bytes(259));
    }
};

TEST_F(OldMessageFileTest, EntriesOfAnOlderFileComeInEmptyForEveryone) {
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Text(row), "");
        EXPECT_TRUE(Everyone(row));
        EXPECT_FALSE(Team(row));
    }
    std::vector<std::uint8_t> file = SaveAndRead();
    ASSERT_EQ(file.size(), config_layout::kFileBytes);
    EXPECT_EQ(Slice(file, kMessagesAt, config_layout::kMessagesBytes), std::vector<std::uint8_t>(336, 0));
}

TEST_F(MessagePageTest, TemplatePlacesEightRows) {
    constexpr LONG kEdit = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    std::vector<PlacedControl> layout;
    static const char* const kKeys[8] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8"};
    for (int row = 0; row < 8; ++row) {
        LONG y = 18 + 33 * row;
        layout.push_back({-1, "Button", kKeys[row], {11, y, 184, row == 0 ? 33 : 35}, BS_GROUPBOX, 0});
        layout.push_back({kRows[row].text, "Edit", "", {15, y + 10, 168, 12}, kEdit, 0});
        layout.push_back({kRows[row].everyone, "Button", "全体", {75, y + 23, 45, 10},
                          BS_AUTORADIOBUTTON | WS_GROUP, 0});
        layout.push_back({kRows[row].team, "Button", "チーム", {131, y + 23, 45, 10}, BS_AUTORADIOBUTTON,
                          WS_GROUP});
    }
    ExpectLayout(page(), layout.data(), layout.size());

    // The eight "送信先" labels, in row order.
    HWND label = nullptr;
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        label = FindWindowExA(page(), label, "Static", "送信先");
        ASSERT_NE(label, nullptr);
        RECT expected = {15, 18 + 33 * row + 23, 15 + 50, 18 + 33 * row + 23 + 8};
        MapDialogRect(page(), &expected);
        RECT actual;
        GetWindowRect(label, &actual);
        MapWindowPoints(nullptr, page(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_TRUE(EqualRect(&actual, &expected));
    }
    // The edits have a border; an edit may turn WS_BORDER into a client edge.
    for (int row = 0; row < 8; ++row) {
        LONG style = GetWindowLongA(Edit(row), GWL_STYLE);
        LONG extended = GetWindowLongA(Edit(row), GWL_EXSTYLE);
        EXPECT_TRUE((style & WS_BORDER) || (extended & WS_EX_CLIENTEDGE)) << row;
    }
}

}  // namespace
