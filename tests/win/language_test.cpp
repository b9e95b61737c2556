// The two faces: chosen at start-up, switched from the system menu, remembered per user;
// switching changes texts only, never what the user entered.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/cp932_text.h"
#include "support/config_layout.h"
#include "ui/address_dialog_win.h"
#include "ui/dialog_template_win.h"
#include "ui/language_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/system_menu_win.h"
#include "ui/window_win.h"
#include "window_fixture.h"

using config_layout::kConnectIdAt;
using config_layout::kMessageBytes;
using config_layout::MessagesAt;
using config_layout::Slice;

namespace {

// The first `count` bytes of a NUL-terminated text, its NUL included.
std::vector<std::uint8_t> Bytes(const char* text, std::size_t count) {
    return std::vector<std::uint8_t>(text, text + count);
}

bool HasJapanese(const std::wstring& text) {
    for (wchar_t c : text) {
        if ((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
    }
    return false;
}

class LanguageTest : public WindowFixture {
protected:
    const wchar_t* StoredLanguage() const override { return stored_; }

    // Starts the tool again, in a fresh game folder, with `stored` remembered.
    void Restart(const wchar_t* stored) {
        TearDown();
        stored_ = stored;
        SetUp();
    }

    // What the menu item sends.
    void Choose(UINT item) {
        SendMessageW(main_window, WM_SYSCOMMAND, item, 0);
        PumpMessages();
    }

    bool MenuChecked(UINT item) const {
        return (GetMenuState(GetSystemMenu(main_window, FALSE), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    // Every text the pages show: each control's own text and each tab label.
    std::vector<std::wstring> ShownTexts() const {
        std::vector<std::wstring> texts;
        for (int page = 0; page < kPageCount; ++page) {
            for (HWND child = GetWindow(Page(page), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                texts.push_back(Text(child));
            for (const std::wstring& label : TabLabels(Control(page, IDC_TAB))) texts.push_back(label);
        }
        return texts;
    }

    // Texts go in as typing or pasting puts them, replacing what the edit holds, so the
    // edit counts as changed by the user.
    void Enter(int page, int id, const wchar_t* text) {
        HWND edit = Control(page, id);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }

    // One change on every page, of every kind a page holds, each away from the defaults.
    // The ID and F1 are given texts the English face shows as captions elsewhere.
    void EditEveryPage() {
        Click(kOptionsPage, IDC_SCREEN_1024);
        Click(kOptionsPage, IDC_FULL_SCREEN_ON);
        SendMessageW(Control(kOptionsPage, IDC_SE_VOLUME), TBM_SETPOS, TRUE, 5000);
        Enter(kConnectPage, IDC_CONNECT_ID, L"Send to");
        SendMessageW(Control(kConnectPage, IDC_ADDRESS_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1.2.3.4"));
        SendMessageW(Control(kDeniedPage, IDC_ADDRESS_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"5.6.7.*"));
        Click(kAllowedPage, IDC_ALLOWED_ONLY);
        Click(kKeyConfigPage, IDC_PLAYER_2);
        Click(kKeyConfigPage, IDC_METHOD_KEYBOARD);
        Enter(kMessagePage, IDC_MSG1_TEXT, L"Send to");
        Enter(kMessagePage, IDC_MSG2_TEXT, L"保存");
        Click(kMessagePage, IDC_MSG2_TEAM);
    }

    std::vector<std::uint8_t> Save() {
        Command(kMessagePage, IDC_SAVE);
        return folder_->ReadConfig();
    }

    const wchar_t* stored_ = nullptr;
};

bool WindowsLanguageIsJapanese() { return (GetUserDefaultUILanguage() & 0x3FF) == LANG_JAPANESE; }

TEST_F(LanguageTest, StartUpFaceAndTheRememberedChoice) {
    struct Case {
        const char* name;
        const wchar_t* stored;
        UINT chosen;              // a menu item chosen after start-up, or 0
        bool english_at_start;
        const wchar_t* stored_after;
    };
    const bool windows_english = !WindowsLanguageIsJapanese();
    const Case cases[] = {
        {"nothing remembered: the Windows language", nullptr, 0, windows_english, L"(none)"},
        {"an unknown value: the Windows language", L"fr", 0, windows_english, L"fr"},
        {"English remembered", L"en", 0, true, L"en"},
        {"Japanese remembered", L"ja", 0, false, L"ja"},
        {"English chosen", nullptr, kMenuEnglish, windows_english, L"en"},
        {"Japanese chosen", L"en", kMenuJapanese, true, L"ja"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart(c.stored);
        EXPECT_EQ(Text(Control(kOptionsPage, IDC_SAVE)), c.english_at_start ? L"Save" : L"保存");
        EXPECT_EQ(MenuChecked(kMenuEnglish), c.english_at_start);
        EXPECT_EQ(MenuChecked(kMenuJapanese), !c.english_at_start);
        if (c.chosen != 0) {
            Choose(c.chosen);
            const bool english = c.chosen == kMenuEnglish;
            EXPECT_EQ(Text(Control(kMessagePage, IDC_EXIT)), english ? L"Exit" : L"終了");
            EXPECT_EQ(MenuChecked(kMenuEnglish), english);
            EXPECT_EQ(MenuChecked(kMenuJapanese), !english);
        }
        EXPECT_EQ(ReadStoredLanguage(), c.stored_after);
    }
    // The menu's own items read the same in both faces.
    wchar_t label[32] = {};
    GetMenuStringW(GetSystemMenu(main_window, FALSE), kMenuJapanese, label, 32, MF_BYCOMMAND);
    EXPECT_STREQ(label, L"日本語");
    GetMenuStringW(GetSystemMenu(main_window, FALSE), kMenuEnglish, label, 32, MF_BYCOMMAND);
    EXPECT_STREQ(label, L"English");
}

TEST_F(LanguageTest, AChoiceThatCannotBeRememberedStillSwitches) {
    // A key name longer than the registry allows: creating it fails.
    const std::wstring unwritable = L"Software\\" + std::wstring(300, L'x');
    language_registry_key = unwritable.c_str();
    Choose(kMenuEnglish);
    language_registry_key = kTestLanguageKey;
    EXPECT_EQ(Text(Control(kOptionsPage, IDC_SAVE)), L"Save");
    EXPECT_TRUE(MenuChecked(kMenuEnglish));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, unwritable.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(ReadStoredLanguage(), L"(none)");
}

TEST_F(LanguageTest, EnglishReplacesEveryJapaneseTextAndJapaneseBringsBackTheTemplates) {
    Restart(L"ja");
    const std::vector<std::wstring> japanese = ShownTexts();
    Choose(kMenuEnglish);
    const std::vector<std::wstring> english = ShownTexts();
    ASSERT_EQ(english.size(), japanese.size());
    for (std::size_t i = 0; i < english.size(); ++i) EXPECT_FALSE(HasJapanese(english[i])) << i;
    Choose(kMenuJapanese);
    EXPECT_EQ(ShownTexts(), japanese);
}

// Every Japanese text a template gives a control has its English row, found by the
// control's identifier, and the row is English. Texts a page writes at run time (the key
// page's controller line) are the messages' and have their English there.
TEST_F(LanguageTest, EveryJapaneseTemplateTextHasItsEnglishRow) {
    Restart(L"ja");
    auto check = [](HWND window, int dialog_template, const std::vector<const WindowTexts*>& tables) {
        int place = 0;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++place) {
            const int id = GetDlgCtrlID(child);
            if (!HasJapanese(Text(child)) || Text(child) != TemplateCaption(dialog_template, id)) continue;
            const ControlText* found = nullptr;
            for (const WindowTexts* texts : tables)
                for (std::size_t i = 0; i < texts->count; ++i)
                    if (texts->controls[i].id == id) found = &texts->controls[i];
            ASSERT_NE(found, nullptr) << "place " << place << " id " << id;
            EXPECT_FALSE(HasJapanese(WideFromCp932(found->english))) << "place " << place;
        }
    };
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        check(Page(page), page_table[page]->dialog_template, {&page_frame_texts, page_table[page]->texts});
    }
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ADDRESS_DIALOG), main_window,
                                     AddressDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    check(dialog, IDD_ADDRESS_DIALOG, {&address_dialog_texts});
    DestroyWindow(dialog);
}

TEST_F(LanguageTest, SwitchingKeepsEveryUnsavedEditAndSavesTheSame) {
    Restart(L"ja");
    EditEveryPage();
    const std::vector<std::uint8_t> unswitched = Save();

    Restart(L"ja");
    EditEveryPage();
    Choose(kMenuEnglish);
    Choose(kMenuJapanese);
    Choose(kMenuEnglish);
    EXPECT_EQ(Text(Control(kConnectPage, IDC_CONNECT_ID)), L"Send to");
    EXPECT_EQ(Text(Control(kMessagePage, IDC_MSG1_TEXT)), L"Send to");
    EXPECT_EQ(Text(Control(kMessagePage, IDC_MSG2_TEXT)), L"保存");
    EXPECT_EQ(Save(), unswitched);
    // The edits took: screen size 1024x768 is the first byte of the option block, and the
    // ID and F1 hold "Send to", F2 "保存" in CP932.
    EXPECT_EQ(unswitched.at(2), 2);
    EXPECT_EQ(Slice(unswitched, kConnectIdAt, 8), Bytes("Send to", 8));
    // The denied list gained a line, so the messages stand one pattern further on.
    const std::size_t messages_at = MessagesAt(0, 1, 0);
    EXPECT_EQ(Slice(unswitched, messages_at, 8), Bytes("Send to", 8));
    EXPECT_EQ(Slice(unswitched, messages_at + kMessageBytes, 5), Bytes("\x95\xdb\x91\xb6", 5));
}

TEST_F(LanguageTest, EnglishFaceShowsItsMessagesTabLabelsAndDialogInEnglish) {
    Restart(L"en");
    EXPECT_EQ(Text(Control(kKeyConfigPage, IDC_METHOD_JOYPAD)), L"Joypad");
    Command(kKeyConfigPage, IDC_KEY_CHANGE_1);  // no controller in the test
    for (int line = 0; line < 24; ++line)
        SendMessageW(Control(kConnectPage, IDC_ADDRESS_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1.1.1.1"));
    Command(kConnectPage, IDC_ADDRESS_ADD);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"No joypad is connected.", "The list is already full."}));

    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ADDRESS_DIALOG), main_window,
                                     AddressDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"Add IP");
    EXPECT_EQ(Text(GetDlgItem(dialog, IDOK)), L"Add");
    EXPECT_EQ(Text(GetDlgItem(dialog, IDCANCEL)), L"Cancel");
    DestroyWindow(dialog);

    Choose(kMenuJapanese);
    Command(kKeyConfigPage, IDC_KEY_CHANGE_1);
    EXPECT_EQ(Messages().back(), "ジョイパッドが接続されていません");
}

}  // namespace
