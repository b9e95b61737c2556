// The window shows and stores CP932 text the same on every system code page: run once
// under the Japanese code page 932 and once more under 1252 (see CMakeLists.txt), with
// text going in and coming out only as UTF-16, as a user's typing and reading do.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "text/cp932_text.h"
#include "page_files.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"
#include "ui/resources/resource_ids.h"
#include "ui/startup_win.h"
#include "ui/window_win.h"
#include "window_fixture.h"

using config_layout::kConnectIdAt;
using config_layout::kMessagesAt;
using config_layout::MessageItem;
using config_layout::Slice;

namespace {

// "日本語テスト" and its bytes in code page 932, written out from the code page's table.
const std::wstring kJapaneseTest = L"日本語テスト";
const std::string kJapaneseTestBytes = "\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x58\x83\x67";

class AnyCodePageTest : public WindowFixture {
protected:
    // The Japanese face under every code page (under 1252 the Windows language is English).
    const wchar_t* StoredLanguage() const override { return L"ja"; }

    enum class Entry { kPostedKeys, kReplaceSelection, kPaste, kSetText };

    // Enters `text` into an empty edit as a user would: keys posted to the thread's queue
    // and taken by the message loop, a replacement of the selection, a paste, or the
    // whole text set by another program (an accessibility or scripting tool).
    void Enter(HWND edit, Entry how, const std::wstring& text) {
        SetWindowTextW(edit, L"");
        switch (how) {
        case Entry::kPostedKeys:
            for (wchar_t key : text) PostMessageW(edit, WM_CHAR, key, 1);
            break;
        case Entry::kReplaceSelection:
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
            break;
        case Entry::kPaste:
            PutOnClipboard(Page(kMessagePage), text);
            SendMessageW(edit, WM_PASTE, 0, 0);
            break;
        case Entry::kSetText:
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            break;
        }
        PumpMessages();
    }

    std::vector<std::uint8_t> Save() {
        Command(kMessagePage, IDC_SAVE);
        return folder_->ReadConfig();
    }
};

TEST_F(AnyCodePageTest, RunsUnderTheCodePageItWasStartedFor) {
    // Set by the test runs; a run by hand under another locale has nothing to compare.
    const char* expected = std::getenv("QOR_EXPECTED_ACP");
    if (expected == nullptr) GTEST_SKIP() << "QOR_EXPECTED_ACP is not set";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

TEST_F(AnyCodePageTest, CaptionsAndTabLabelsReadAsTheirJapaneseTexts) {
    const std::vector<std::wstring> labels = {L"オプション", L"接続先IP", L"拒否IP",
                                              L"許可IP", L"キーコンフィグ", L"ファンクションメッセージ"};
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(TabLabels(Control(page, IDC_TAB)), labels);
        EXPECT_EQ(Text(Control(page, IDC_SAVE)), L"保存");
        EXPECT_EQ(Text(Control(page, IDC_EXIT)), L"終了");
    }
    EXPECT_EQ(Text(Control(kOptionsPage, IDC_BARRIER_NEAR)), L"キャラ周囲");
    EXPECT_EQ(Text(Control(kAllowedPage, IDC_ALLOWED_ONLY)), L"接続許可IPを使用する");
    EXPECT_EQ(Text(Control(kMessagePage, IDC_MSG1_TEAM)), L"チーム");
    // Captions without an identifier: a group box and a static text.
    EXPECT_NE(FindWindowExW(Page(kOptionsPage), nullptr, L"Button", L"ローディングイラスト"), nullptr);
    EXPECT_NE(FindWindowExW(Page(kKeyConfigPage), nullptr, L"Static", L"ガード・魔力技３/キャンセル"), nullptr);
}

struct EntryCase {
    const char* name;
    bool id;               // into the connect ID, else into F1's text
    int how;               // AnyCodePageTest::Entry
    std::wstring entered;
    std::string stored;    // the field's bytes before its NUL
};

// Each row's text is saved as the bytes code page 932 gives it, with its best-fit forms
// and the wave dash, minus, double bar and em dash as the codes of the same glyphs; a
// character with no form is refused when typed and left out otherwise; and the edit
// shows what the file reads back.
TEST_F(AnyCodePageTest, EnteredTextIsSavedAsTheWindowShowsIt) {
    const std::string twenty_kanji = Repeat("\x93\xfa", 20);
    const std::wstring see_you_again = L"よろしく〜またね";  // with the wave dash U+301C
    const std::string see_you_again_bytes = "\x82\xe6\x82\xeb\x82\xb5\x82\xad\x81\x60\x82\xdc\x82\xbd\x82\xcb";
    const EntryCase cases[] = {
        {"typed keys", false, 0, kJapaneseTest, kJapaneseTestBytes},
        {"replaced selection", false, 1, kJapaneseTest, kJapaneseTestBytes},
        {"pasted", false, 2, kJapaneseTest, kJapaneseTestBytes},
        {"set from outside", false, 3, kJapaneseTest, kJapaneseTestBytes},
        {"21 kanji pasted keep 20", false, 2, std::wstring(21, L'日'), twenty_kanji},
        {"21 kanji typed keep 20", false, 0, std::wstring(21, L'日'), twenty_kanji},
        {"21 kanji set from outside keep 20", false, 3, std::wstring(21, L'日'), twenty_kanji},
        // é is 0xE9 in code page 1252, a lead byte in 932: it goes in as its best fit,
        // never as "?" and never taking the character after it.
        {"typed e acute as e", false, 0, L"Ok Café!", "Ok Cafe!"},
        {"pasted e acute as e", false, 2, L"Ok Café!", "Ok Cafe!"},
        {"replacing e acute as e", false, 1, L"Ok Café!", "Ok Cafe!"},
        {"typed emoji is refused", false, 0, L"a\xD83D\xDE00" L"b", "ab"},
        {"pasted emoji is left out", false, 2, L"a\xD83D\xDE00" L"b", "ab"},
        {"emoji set from outside is left out", false, 3, L"a\xD83D\xDE00" L"b", "ab"},
        {"typed yen sign as 5C", false, 0, L"\x00A5" L"5", "\x5c" "5"},
        {"typed cent, pound and not signs", false, 0, L"\x00A2\x00A3\x00AC", "\x81\x91\x81\x92\x81\xca"},
        {"half-width katakana and a full-width tilde", false, 0, L"ｱ～", "\xb1\x81\x60"},
        {"pasted wave dash keeps the rest", false, 2, see_you_again, see_you_again_bytes},
        {"wave dash set from outside", false, 3, see_you_again, see_you_again_bytes},
        {"typed minus, double bar and em dash", false, 0, L"\x2212\x2016\x2014", "\x81\x7c\x81\x61\x81\x5c"},
        {"pasted lines keep their break", false, 2, L"ab\r\ncd", "ab\r\ncd"},
        {"ID typed", true, 0, kJapaneseTest, kJapaneseTestBytes},
        {"ID of eight kanji pasted keeps seven", true, 2, std::wstring(8, L'日'), Repeat("\x93\xfa", 7)},
        {"ID typed with e acute", true, 0, L"Café", "Cafe"},
        {"ID pasted with a wave dash", true, 2, L"GG〜", "GG\x81\x60"},
        {"ID pasted up to its first line break", true, 2, L"abc\r\ndef", "abc"},
        {"ID replaced up to its first line break", true, 1, L"abc\ndef", "abc"},
        {"ID set from outside up to its first line break", true, 3, L"abc\rdef", "abc"},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = c.id ? Control(kConnectPage, IDC_CONNECT_ID) : Control(kMessagePage, IDC_MSG1_TEXT);
        Enter(edit, static_cast<Entry>(c.how), c.entered);
        // The text and its NUL; the bytes after the NUL keep what earlier rows left.
        const std::vector<std::uint8_t> text = Slice(Save(), c.id ? kConnectIdAt : kMessagesAt, c.stored.size() + 1);
        EXPECT_EQ(std::string(text.begin(), text.end()), c.stored + '\0');
        // The ID's edit takes more than the 15 bytes the file keeps of it.
        const std::wstring shown = WideFromCp932(c.stored);
        EXPECT_EQ(c.id ? Text(edit).substr(0, shown.size()) : Text(edit), shown);
    }
}

// The program's own loop, not the fixture's: keys, then Save, then the close box, all
// queued before the loop runs until the window is gone.
TEST_F(AnyCodePageTest, TheProgramsMessageLoopDeliversTypedCharactersWhole) {
    for (wchar_t key : kJapaneseTest) PostMessageW(Control(kMessagePage, IDC_MSG1_TEXT), WM_CHAR, key, 1);
    PostMessageW(Page(kMessagePage), WM_COMMAND, IDC_SAVE, 0);
    PostMessageW(main_window, WM_CLOSE, 0, 0);
    RunMessageLoop();
    const std::vector<std::uint8_t> text = Slice(folder_->ReadConfig(), kMessagesAt, kJapaneseTestBytes.size() + 1);
    EXPECT_EQ(std::string(text.begin(), text.end()), kJapaneseTestBytes + '\0');
}

// A file whose ID and messages hold CP932 text.
class AnyCodePageFileTest : public AnyCodePageTest {
protected:
    void PrepareConfig() override {
        std::vector<std::uint8_t> messages;
        for (const std::string& text : kStored) {
            std::vector<std::uint8_t> item = MessageItem(text, 1);
            messages.insert(messages.end(), item.begin(), item.end());
        }
        original_ = page_files::File272(page_files::UnusualOptionBlock(), messages);
        const std::string id = "\x83\x76\x83\x8c\x83\x43\x83\x84\x81\x5b";  // プレイヤー
        std::memcpy(original_.data() + kConnectIdAt, id.data(), id.size() + 1);
        folder_->WriteConfig(original_);
    }

    // F1 to F8 as stored: kanji, kana, a backslash second byte, half-width kana, ASCII.
    const std::vector<std::string> kStored = {
        kJapaneseTestBytes,
        "\x82\xa8\x82\xcd\x82\xe6\x82\xa4",  // おはよう
        "\x83\x5c\x95\x5c",                  // ソ表
        "\xb1\xb2\xb3",                      // ｱｲｳ
        "GG",
        "",
        std::string(20, 'x') + "\x93\xfa",
        "\x8f\x95\x82\xaf\x82\xc4",          // 助けて
    };
    std::vector<std::uint8_t> original_;
};

TEST_F(AnyCodePageFileTest, StoredTextsShowLegiblyAndAnUntouchedSaveIsByteExact) {
    const std::wstring shown[8] = {kJapaneseTest, L"おはよう", L"ソ表", L"ｱｲｳ",
                                   L"GG",         L"",         std::wstring(20, L'x') + L"日", L"助けて"};
    const int edits[8] = {IDC_MSG1_TEXT, IDC_MSG2_TEXT, IDC_MSG3_TEXT, IDC_MSG4_TEXT,
                          IDC_MSG5_TEXT, IDC_MSG6_TEXT, IDC_MSG7_TEXT, IDC_MSG8_TEXT};
    for (int row = 0; row < 8; ++row) EXPECT_EQ(Text(Control(kMessagePage, edits[row])), shown[row]) << row;
    EXPECT_EQ(Text(Control(kConnectPage, IDC_CONNECT_ID)), L"プレイヤー");
    EXPECT_EQ(Save(), original_);
}

}  // namespace
