// The in-process tool fixture shared by the window tests.
#include "window_fixture.h"

#include <commctrl.h>

#include "config/config_file.h"
#include "ui/resources/resource_ids.h"
#include "ui/startup_win.h"
#include "ui/window_win.h"

void WindowFixture::SetUp() {
    folder_.emplace();
    recorder_.emplace();
    PrepareConfig();
    ASSERT_TRUE(LoadConfig());
    recorder_->Clear();
    ASSERT_TRUE(CreateToolWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    PumpMessages();
}

void WindowFixture::TearDown() {
    ReleaseToolWindow();
    PumpMessages();  // drops the quit message destroying the window posted
    recorder_.reset();
    folder_.reset();
}

HWND WindowFixture::Page(int index) const { return page_windows[index]; }

HWND WindowFixture::Control(int page, int id) const { return GetDlgItem(Page(page), id); }

int WindowFixture::TabSelection(int page) const {
    return static_cast<int>(SendMessageA(Control(page, IDC_TAB), TCM_GETCURSEL, 0, 0));
}

bool WindowFixture::PageVisible(int page) const {
    return (GetWindowLongA(Page(page), GWL_STYLE) & WS_VISIBLE) != 0;
}

void WindowFixture::SelectTab(int index) {
    HWND shown = current_page;
    HWND tab = GetDlgItem(shown, IDC_TAB);
    SendMessageA(tab, TCM_SETCURSEL, index, 0);
    NMHDR header = {};
    header.hwndFrom = tab;
    header.idFrom = IDC_TAB;
    header.code = TCN_SELCHANGE;
    SendMessageA(shown, WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&header));
}

void WindowFixture::Click(int page, int id) {
    SendMessageA(Control(page, id), BM_CLICK, 0, 0);
    PumpMessages();
}

void WindowFixture::Command(int page, int id) {
    SendMessageA(Page(page), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(page, id)));
    PumpMessages();
}

bool WindowFixture::PumpMessages() {
    bool quit = false;
    MSG message;
    // Unicode, as the program's own loop: a posted character arrives whole.
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}
