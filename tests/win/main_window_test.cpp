// The main window, the tab frame every page shares, Save and Exit, and start-up's
// failure paths, driven in-process with the messages a user's actions produce.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/game_config.h"
#include "support/scratch_dir.h"
#include "ui/resources/resource_ids.h"
#include "ui/startup.h"
#include "ui/window.h"
#include "window_fixture.h"

using testing_support::Hex;
using testing_support::MessageRecorder;
using testing_support::ScratchGameFolder;

namespace {

const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";

std::vector<int> harvested_pages;
void RecordHarvest(int page) { harvested_pages.push_back(page); }

class MainWindowTest : public WindowFixture {};

TEST_F(MainWindowTest, WindowStandsCentredWithItsClassAndStyles) {
    RECT rect;
    ASSERT_TRUE(GetWindowRect(main_window, &rect));
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rect.left, (screen_width - 320) / 2);
    EXPECT_EQ(rect.top, (screen_height - 528) / 2);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 528);
    if (screen_width == 1024 && screen_height == 768) {
        EXPECT_EQ(rect.left, 352);
        EXPECT_EQ(rect.top, 120);
    }

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
    EXPECT_NE(GetClassLongPtrA(main_window, GCLP_HICON), 0);
    EXPECT_EQ(GetClassLongA(main_window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
}

TEST_F(MainWindowTest, StartUpShowsPageZeroAndFillsEveryTabStrip) {
    const char* labels[kPageCount] = {"オプション", "接続先IP", "拒否IP",
                                      "許可IP", "キーコンフィグ", "ファンクションメッセージ"};
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
        ASSERT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), kPageCount);
        for (int item = 0; item < kPageCount; ++item) {
            char text[64] = {};
            TCITEMA tab_item = {};
            tab_item.mask = TCIF_TEXT;
            tab_item.pszText = text;
            tab_item.cchTextMax = sizeof text;
            SendMessageA(tab, TCM_GETITEMA, item, reinterpret_cast<LPARAM>(&tab_item));
            EXPECT_STREQ(text, labels[item]);
        }
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
        // The tab strip is one plain row of tabs: no style bits beyond child and visible.
        EXPECT_EQ(GetWindowLongA(Control(page, IDC_TAB), GWL_STYLE) & 0xFFFF, 0);
    }
}

TEST_F(MainWindowTest, FillTabControlIgnoresAMissingControl) {
    FillTabControl(nullptr);  // must neither crash nor touch any page
    EXPECT_EQ(SendMessageA(Control(0, IDC_TAB), TCM_GETITEMCOUNT, 0, 0), kPageCount);
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

TEST_F(MainWindowTest, SaveFromEveryPageHarvestsThePagesInOrderAndWritesTheFile) {
    page_harvest_observer = RecordHarvest;
    for (int page = 0; page < kPageCount; ++page) {
        SCOPED_TRACE(page);
        SelectTab(page);
        std::filesystem::remove(folder_->ConfigPath());
        harvested_pages.clear();
        Click(page, IDC_SAVE);
        EXPECT_TRUE(folder_->ConfigExists());
        EXPECT_EQ(harvested_pages, (std::vector<int>{0, 1, 2, 3, 5}));
        EXPECT_TRUE(IsWindow(main_window));
        EXPECT_EQ(current_page, Page(page));
        EXPECT_TRUE(PageVisible(page));
    }
    page_harvest_observer = nullptr;
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
// writing anything.
TEST_F(MainWindowTest, ExitFromEveryPageAndCloseEndWithoutWriting) {
    enum Way { kExitButton, kCloseBox, kSystemMenuClose };
    struct Case {
        Way way;
        int page;
    };
    std::vector<Case> cases;
    for (int page = 0; page < kPageCount; ++page) cases.push_back({kExitButton, page});
    cases.push_back({kCloseBox, kKeyConfigPage});
    cases.push_back({kSystemMenuClose, kAllowedPage});
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "way " << c.way << " page " << c.page);
        if (!first) {
            TearDown();
            SetUp();
        }
        first = false;
        SelectTab(c.page);
        std::filesystem::remove(folder_->ConfigPath());
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
        EXPECT_FALSE(folder_->ConfigExists());
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
    EXPECT_NE(startup_context, nullptr);
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
