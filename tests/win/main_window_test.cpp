// The main window, the tab frame every page shares, Save and Exit, and start-up's
// failure paths, driven in-process with the messages a user's actions produce.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/config_file.h"
#include "config/game_config.h"
#include "input/window_context_win.h"
#include "support/config_layout.h"
#include "support/file_builder.h"
#include "support/scratch_dir.h"
#include "ui/resources/resource_ids.h"
#include "ui/startup_win.h"
#include "ui/window_win.h"
#include "ui/dialog_template_win.h"
#include "window_fixture.h"

using config_layout::Slice;
using testing_support::FileBuilder;
using testing_support::Hex;
using testing_support::MessageRecorder;
using testing_support::ScratchGameFolder;

namespace {

const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";

const std::vector<std::wstring> kTabLabels = {L"オプション", L"接続先IP", L"拒否IP",
                                              L"許可IP", L"キーコンフィグ", L"ファンクションメッセージ"};


class MainWindowTest : public WindowFixture {
protected:
    // One change on each page a save harvests, each to a value the defaults do not hold:
    // screen size 1024x768, the ID "Player", the denied line 1.2.3.*, the allowed-only
    // switch on, and the text "Hello" for F1.
    void ChangeEveryHarvestedPage() {
        Click(kOptionsPage, IDC_SCREEN_1024);
        SetDlgItemTextA(Page(kConnectPage), IDC_CONNECT_ID, "Player");
        SendMessageA(Control(kDeniedPage, IDC_ADDRESS_LIST), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>("1.2.3.*"));
        Click(kAllowedPage, IDC_ALLOWED_ONLY);
        SetDlgItemTextA(Page(kMessagePage), IDC_MSG1_TEXT, "Hello");
    }

    // An old write time set on the file shows a rewrite even within one clock tick.
    static constexpr std::uint64_t kLongAgo = 125911584000000000;  // 2000-01-01 in file time
    bool SetWriteTime(std::uint64_t file_time) const {
        HANDLE file = CreateFileA("Data\\GameConfig.dat", FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        FILETIME time = {static_cast<DWORD>(file_time), static_cast<DWORD>(file_time >> 32)};
        const bool set = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
        CloseHandle(file);
        return set;
    }
    std::uint64_t WriteTime() const {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExA("Data\\GameConfig.dat", GetFileExInfoStandard, &data)) return 0;
        return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
    }

    // What every control of every page shows: text, check state, lines, slider position.
    std::vector<std::string> ControlStates() const {
        std::vector<std::string> states;
        for (int page = 0; page < kPageCount; ++page) {
            for (HWND child = GetWindow(Page(page), GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                char text[128] = {};
                GetWindowTextA(child, text, sizeof text);
                char class_name[32] = {};
                GetClassNameA(child, class_name, sizeof class_name);
                std::string state = std::to_string(page) + " " + std::to_string(GetDlgCtrlID(child)) + " " + text;
                if (lstrcmpiA(class_name, "Button") == 0)
                    state += " checked " + std::to_string(SendMessageA(child, BM_GETCHECK, 0, 0));
                if (lstrcmpiA(class_name, "ListBox") == 0)
                    state += " lines " + std::to_string(SendMessageA(child, LB_GETCOUNT, 0, 0));
                if (lstrcmpiA(class_name, TRACKBAR_CLASSA) == 0)
                    state += " at " + std::to_string(SendMessageA(child, TBM_GETPOS, 0, 0));
                states.push_back(state);
            }
        }
        return states;
    }
};

TEST_F(MainWindowTest, WindowStandsCentredWithItsClassAndStyles) {
    RECT rect;
    ASSERT_TRUE(GetWindowRect(main_window, &rect));
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rect.left, (screen_width - 320) / 2);
    EXPECT_EQ(rect.top, (screen_height - 528) / 2);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 528);
    // Centred as a whole: the margins on either side differ by at most the one pixel an
    // odd difference leaves, and that pixel goes to the right and bottom margins.
    const int right_margin = screen_width - rect.right;
    const int bottom_margin = screen_height - rect.bottom;
    EXPECT_GE(right_margin - rect.left, 0);
    EXPECT_LE(right_margin - rect.left, 1);
    EXPECT_GE(bottom_margin - rect.top, 0);
    EXPECT_LE(bottom_margin - rect.top, 1);

    const LONG style = GetWindowLongA(main_window, GWL_STYLE);
    const LONG wanted = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0);
    EXPECT_EQ(GetWindowLongA(main_window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);

    char text[64] = {};
    GetWindowTextA(main_window, text, sizeof text);
    EXPECT_STREQ(text, "QORConfig");
    GetClassNameA(main_window, text, sizeof text);
    EXPECT_STREQ(text, "QORConfig");
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(main_window, GCLP_HBRBACKGROUND)),
              GetStockObject(WHITE_BRUSH));
    // Icons and cursors loaded by resource are shared: loading again gives the same handle.
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP_ICON));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(main_window, GCLP_HICON)), icon);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(main_window, GCLP_HCURSOR)),
              LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(GetClassLongA(main_window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(GetClassLongA(main_window, GCL_CBCLSEXTRA), 0);
    EXPECT_EQ(GetClassLongA(main_window, GCL_CBWNDEXTRA), 0);
    EXPECT_EQ(GetClassLongPtrA(main_window, GCLP_MENUNAME), 0);
    EXPECT_EQ(GetMenu(main_window), nullptr);
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(main_window, GWLP_HINSTANCE)),
              GetModuleHandleA(nullptr));
}

TEST_F(MainWindowTest, StartUpShowsPageZeroAndFillsEveryTabStrip) {
    EXPECT_EQ(current_page, Page(0));
    EXPECT_TRUE(Messages().empty());
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        ASSERT_NE(Page(page), nullptr);
        EXPECT_EQ(GetParent(Page(page)), main_window);
        EXPECT_EQ(PageVisible(page), page == 0);
        HWND tab = Control(page, IDC_TAB);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(TabSelection(page), 0);
        EXPECT_EQ(TabLabels(tab), kTabLabels);
        char caption[16] = {};
        GetWindowTextA(Control(page, IDC_SAVE), caption, sizeof caption);
        EXPECT_STREQ(caption, "保存");
        GetWindowTextA(Control(page, IDC_EXIT), caption, sizeof caption);
        EXPECT_STREQ(caption, "終了");
    }
}

// Each page template carries the same frame, in dialog units converted by the page's font.
TEST_F(MainWindowTest, EveryPageCarriesTheSameFrame) {
    struct Piece {
        int id;
        RECT units;  // left, top, width, height
        LONG required_style;
    };
    const Piece pieces[] = {
        {IDC_TAB, {7, 1, 194, 285}, WS_CHILD | WS_VISIBLE},
        {IDC_SAVE, {101, 288, 42, 14}, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {IDC_EXIT, {153, 288, 42, 14}, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
    };
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        const LONG page_style = GetWindowLongA(Page(page), GWL_STYLE);
        EXPECT_EQ(page_style & (WS_CHILD | WS_CAPTION | WS_POPUP), WS_CHILD);
        RECT size = {0, 0, 212, 312};
        MapDialogRect(Page(page), &size);
        RECT client;
        GetWindowRect(Page(page), &client);
        MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_EQ(client.left, 0);
        EXPECT_EQ(client.top, 0);
        EXPECT_EQ(client.right - client.left, size.right);
        EXPECT_EQ(client.bottom - client.top, size.bottom);
        for (const Piece& piece : pieces) {
            SCOPED_TRACE(piece.id);
            HWND control = Control(page, piece.id);
            ASSERT_NE(control, nullptr);
            // The dialog manager converts the position and the size each on its own.
            RECT mapped = piece.units;
            MapDialogRect(Page(page), &mapped);
            const RECT expected = {mapped.left, mapped.top, mapped.left + mapped.right,
                                   mapped.top + mapped.bottom};
            RECT actual;
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, Page(page), reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right, expected.right);
            EXPECT_EQ(actual.bottom, expected.bottom);
            const LONG style = GetWindowLongA(control, GWL_STYLE);
            EXPECT_EQ(style & piece.required_style, piece.required_style);
        }
        // The tab strip is one plain row of tabs: the template asks for a visible child
        // and nothing more. The tab control gives itself WS_CLIPSIBLINGS when it is
        // created (so that it never paints over the page's other controls); no other bit
        // may appear.
        const DialogTemplateInfo page_template = ReadDialogTemplate(page_table[page]->dialog_template);
        ASSERT_TRUE(page_template.found);
        EXPECT_EQ(page_template.item_styles.at(IDC_TAB), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
        const LONG tab_style = GetWindowLongA(Control(page, IDC_TAB), GWL_STYLE);
        EXPECT_EQ(tab_style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(tab_style & ~(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS), 0);
    }
}

// Every page names the dialog font, 8 point, regular weight, and the dialog manager
// creates it as named: a substitute face (the prefix maps this one) does not show in
// the font's own description.
TEST_F(MainWindowTest, EveryPageUsesTheDialogFontItsTemplateNames) {
    HDC screen = GetDC(nullptr);
    const int pixels_per_inch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        const DialogTemplateInfo page_template = ReadDialogTemplate(page_table[page]->dialog_template);
        ASSERT_TRUE(page_template.found);
        EXPECT_EQ(page_template.style & DS_SHELLFONT, static_cast<DWORD>(DS_SHELLFONT));
        EXPECT_EQ(page_template.point_size, 8);
        EXPECT_EQ(page_template.weight, 400);
        EXPECT_EQ(page_template.italic, 0);
        EXPECT_EQ(page_template.face, L"MS Shell Dlg");

        HFONT font = reinterpret_cast<HFONT>(SendMessageA(Page(page), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA description = {};
        ASSERT_EQ(GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
        EXPECT_STREQ(description.lfFaceName, "MS Shell Dlg");
        EXPECT_EQ(description.lfHeight, -MulDiv(8, pixels_per_inch, 72));
        EXPECT_EQ(description.lfWeight, 400);
        EXPECT_FALSE(description.lfItalic);
        // The controls draw with the page's font.
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Control(page, IDC_SAVE), WM_GETFONT, 0, 0)), font);
    }
}

// Any tab control given gets the six labels in page order; null is accepted.
TEST_F(MainWindowTest, FillTabControlPutsTheSixLabelsIntoAStripAndAcceptsNull) {
    HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD, 0, 0, 200, 20, main_window,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(tab, nullptr);
    ASSERT_TRUE(TabLabels(tab).empty());
    FillTabControl(tab);
    EXPECT_EQ(TabLabels(tab), kTabLabels);
    DestroyWindow(tab);
    FillTabControl(nullptr);
}

// Every switch from every page, including to the tab already selected.
TEST_F(MainWindowTest, TabSwitchShowsOnePageAndKeepsEveryStripInStep) {
    for (int from = 0; from < kPageCount; ++from) {
        for (int to = 0; to < kPageCount; ++to) {
            SCOPED_TRACE(testing::Message() << "from " << from << " to " << to);
            SelectTab(from);
            ASSERT_EQ(current_page, Page(from));
            SelectTab(to);
            EXPECT_EQ(current_page, Page(to));
            for (int page = 0; page < kPageCount; ++page) {
                EXPECT_EQ(PageVisible(page), page == to) << "page " << page;
                EXPECT_EQ(TabSelection(page), to) << "page " << page;
            }
        }
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MainWindowTest, NotificationsOtherThanATabChangeSwitchNothing) {
    HWND tab = Control(0, IDC_TAB);
    SendMessageA(tab, TCM_SETCURSEL, 3, 0);
    NMHDR header = {tab, IDC_TAB, static_cast<UINT>(TCN_SELCHANGING)};
    SendMessageA(Page(0), WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&header));
    header = {tab, IDC_SAVE, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(Page(0), WM_NOTIFY, IDC_SAVE, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(current_page, Page(0));
    EXPECT_TRUE(PageVisible(0));
    EXPECT_FALSE(PageVisible(3));
    EXPECT_EQ(TabSelection(3), 0);
}

// Save from any page, the key configuration page included (it has nothing to harvest),
// writes what the controls of every harvested page show.
TEST_F(MainWindowTest, SaveFromEveryPageHarvestsThePagesInOrderAndWritesTheFile) {
    // The parts the changes touch, at their offsets in a file with one denied line:
    // options at 2, the ID at 86, allowed_only at 203, the two list counts at 207 and
    // 209, the denied line at 211, the record count at 219, opaque_word_2 at 220 and
    // the messages at 224.
    const std::vector<std::uint8_t> screen_size = Hex("02 000000");
    const std::vector<std::uint8_t> id = FileBuilder().Text("Player", 17).bytes;
    const std::vector<std::uint8_t> allowed_only = Hex("01000000");
    const std::vector<std::uint8_t> lists = Hex("0000 0100 0100 0200 0300 0001 00 00000000");
    const std::vector<std::uint8_t> first_message = FileBuilder().Text("Hello", 41).U8(0).bytes;
    // Pages 0, 1, 2, 3 and 5 are harvested, in page order; the key configuration page
    // writes game_config as it changes.
    std::vector<int> harvested_pages;
    for (int page = 0; page < kPageCount; ++page)
        if (page_table[page]->harvest != nullptr) harvested_pages.push_back(page);
    EXPECT_EQ(harvested_pages, (std::vector<int>{0, 1, 2, 3, 5}));
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        if (page > 0) {
            TearDown();
            SetUp();
        }
        ChangeEveryHarvestedPage();
        SelectTab(page);
        std::filesystem::remove(folder_->ConfigPath());
        Click(page, IDC_SAVE);
        EXPECT_TRUE(folder_->ConfigExists());
        EXPECT_TRUE(IsWindow(main_window));
        EXPECT_EQ(current_page, Page(page));
        EXPECT_TRUE(PageVisible(page));
        const std::vector<std::uint8_t> bytes = folder_->ReadConfig();
        ASSERT_EQ(bytes.size(), config_layout::FileSize(0, 1));
        EXPECT_EQ(Slice(bytes, config_layout::kVersionAt, 2), Hex("1001"));
        EXPECT_EQ(Slice(bytes, config_layout::kScreenSizeAt, 4), screen_size);
        EXPECT_EQ(Slice(bytes, config_layout::kConnectIdAt, 17), id);
        EXPECT_EQ(Slice(bytes, config_layout::kConnectAddressesAt, 96), std::vector<std::uint8_t>(96, 0));
        EXPECT_EQ(Slice(bytes, config_layout::kAllowedOnlyAt, 4), allowed_only);
        EXPECT_EQ(Slice(bytes, config_layout::kAllowedCountAt, 17), lists);
        EXPECT_EQ(Slice(bytes, config_layout::MessagesAt(0, 1), 42), first_message);
        EXPECT_EQ(Slice(bytes, config_layout::MessagesAt(0, 1) + 42, 7 * 42), std::vector<std::uint8_t>(7 * 42, 0));
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MainWindowTest, SaveActsOnTheControlIdAloneWhateverTheNotificationCode) {
    std::filesystem::remove(folder_->ConfigPath());
    SendMessageA(Page(2), WM_COMMAND, MAKEWPARAM(IDC_SAVE, BN_DOUBLECLICKED), 0);
    EXPECT_TRUE(folder_->ConfigExists());
}

TEST_F(MainWindowTest, AFailedSaveShowsItsMessageAndTheToolGoesOn) {
    SelectTab(kMessagePage);
    std::filesystem::remove_all(folder_->ConfigPath().parent_path());
    Click(kMessagePage, IDC_SAVE);
    EXPECT_EQ(Messages(), std::vector<std::string>{kSaveFailed});
    EXPECT_TRUE(IsWindow(main_window));
    EXPECT_EQ(current_page, Page(kMessagePage));
    EXPECT_TRUE(PageVisible(kMessagePage));
    EXPECT_FALSE(PumpMessages());
}

// Exit on any page, the close box and the system menu's Close end the tool without
// writing anything, whatever the pages were changed to: a missing file stays missing
// and a present one keeps its bytes and its time.
TEST_F(MainWindowTest, ExitFromEveryPageAndCloseEndWithoutWriting) {
    enum Way { kExitButton, kCloseBox, kSystemMenuClose };
    struct Case {
        Way way;
        int page;
        bool file_kept = false;
    };
    std::vector<Case> cases;
    for (int page = 0; page < kPageCount; ++page) cases.push_back({kExitButton, page});
    cases.push_back({kCloseBox, kKeyConfigPage});
    cases.push_back({kSystemMenuClose, kAllowedPage});
    cases.push_back({kExitButton, kKeyConfigPage, true});
    cases.push_back({kExitButton, kMessagePage, true});
    cases.push_back({kCloseBox, kOptionsPage, true});
    cases.push_back({kSystemMenuClose, kConnectPage, true});
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "way " << c.way << " page " << c.page << " kept " << c.file_kept);
        if (!first) {
            TearDown();
            SetUp();
        }
        first = false;
        ChangeEveryHarvestedPage();
        SelectTab(c.page);
        std::vector<std::uint8_t> before;
        if (c.file_kept) {
            ASSERT_TRUE(SetWriteTime(kLongAgo));
            before = folder_->ReadConfig();
        } else {
            std::filesystem::remove(folder_->ConfigPath());
        }
        HWND window = main_window;
        HWND page = Page(c.page);
        switch (c.way) {
            case kExitButton: SendMessageA(Control(c.page, IDC_EXIT), BM_CLICK, 0, 0); break;
            case kCloseBox: SendMessageA(window, WM_CLOSE, 0, 0); break;
            case kSystemMenuClose: SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(IsWindow(page));
        EXPECT_TRUE(PumpMessages()) << "the quit message ends the loop";
        if (c.file_kept) {
            EXPECT_EQ(folder_->ReadConfig(), before);
            EXPECT_EQ(WriteTime(), kLongAgo) << "the file was written again";
        } else {
            EXPECT_FALSE(folder_->ConfigExists());
        }
        EXPECT_EQ(testing_support::DataEntries().size(), c.file_kept ? 1u : 0u);
        EXPECT_TRUE(Messages().empty());
    }
}

// The show command the entry point receives reaches the main window.
TEST(StartUp, TheShowCommandReachesTheMainWindow) {
    ScratchGameFolder folder;
    MessageRecorder recorder;
    ASSERT_TRUE(LoadConfig());
    ASSERT_TRUE(CreateToolWindow(GetModuleHandleA(nullptr), SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(IsIconic(main_window));
    ASSERT_NE(startup_context, nullptr);
    EXPECT_EQ(instance, GetModuleHandleA(nullptr));
    EXPECT_EQ(startup_context->main_window, main_window);
    EXPECT_EQ(startup_context->instance, instance);
    ReleaseToolWindow();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
    EXPECT_EQ(FindWindowA("QORConfig", nullptr), nullptr);
}

TEST_F(MainWindowTest, TheMessageLoopEndsWhenTheWindowIsClosed) {
    PostMessageA(main_window, WM_CLOSE, 0, 0);
    RunMessageLoop();  // returns only once the quit message arrived
    EXPECT_FALSE(IsWindow(main_window));
}

// Start-up that stops before any window: the load's own messages, then one more.
TEST(StartUp, FailuresToLoadShowTheirMessagesAndCreateNoWindow) {
    const char kLoadFailed[] = "コンフィグファイルの読み込みに失敗しました";
    struct Case {
        const char* name;
        bool with_data_folder;
        const char* file_hex;  // null: no file
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"newer version", true, "1101 00000000",
         {"新しいバージョンのコンフィグファイルです", kLoadFailed}},
        {"no Data folder", false, nullptr,
         {"コンフィグファイルが読み込めませんでした\n新規作成します", kSaveFailed,
          "コンフィグファイルの新規作成に失敗しました", kLoadFailed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchGameFolder folder(c.with_data_folder);
        if (c.file_hex != nullptr) folder.WriteConfig(Hex(c.file_hex));
        MessageRecorder recorder;
        EXPECT_EQ(RunTool(GetModuleHandleA(nullptr), SW_SHOWNORMAL), 0);
        EXPECT_EQ(recorder.Messages(), c.messages);
        EXPECT_EQ(FindWindowA("QORConfig", nullptr), nullptr);
        EXPECT_EQ(main_window, nullptr);
        EXPECT_EQ(startup_context, nullptr);
    }
}

}  // namespace

namespace {

// Start-up that cannot register its window class stops without a window and without a
// message, and leaves the file as it was.
TEST(StartUp, AClassThatCannotBeRegisteredStopsStartUpSilently) {
    ScratchGameFolder folder;
    MessageRecorder recorder;
    ASSERT_TRUE(LoadConfig());  // creates the file, so that start-up has nothing to report
    ReleaseConfig();
    recorder.Clear();
    const std::vector<std::uint8_t> before = folder.ReadConfig();
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "QORConfig";
    ASSERT_NE(RegisterClassA(&taken), 0);

    EXPECT_EQ(RunTool(GetModuleHandleA(nullptr), SW_SHOWNORMAL), 0);
    EXPECT_TRUE(recorder.Messages().empty());
    EXPECT_EQ(FindWindowA("QORConfig", nullptr), nullptr);
    EXPECT_EQ(main_window, nullptr);
    for (HWND page : page_windows) EXPECT_EQ(page, nullptr);
    EXPECT_EQ(startup_context, nullptr);
    EXPECT_EQ(folder.ReadConfig(), before);
    UnregisterClassA("QORConfig", GetModuleHandleA(nullptr));  // if start-up left it
}

// Indexes outside the six pages populate nothing; each page index does change controls
// once the configuration differs from what they show.
TEST_F(MainWindowTest, PopulatePageOutsideThePagesChangesNoControl) {
    std::strcpy(game_config.connect_id, "Changed");
    game_config.options.screen_size = 2;
    game_config.options.bgm_volume = -5000;
    game_config.allowed_only = 1;
    game_config.denied_patterns.push_back({{1, 2, 3, 4}});
    std::strcpy(game_config.function_messages[0].text, "Changed");
    const std::vector<std::string> before = ControlStates();
    for (int index : {-1, kPageCount, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(index);
        PopulatePage(index);
        EXPECT_EQ(ControlStates(), before);
    }
    for (int index : {kOptionsPage, kConnectPage, kDeniedPage, kAllowedPage, kMessagePage}) {
        SCOPED_TRACE(index);
        const std::vector<std::string> ahead = ControlStates();
        PopulatePage(index);
        EXPECT_NE(ControlStates(), ahead);
    }
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
