// The frame every page shares (tab strip, Save, Exit) and the two operations that move
// data between game_config and the pages.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/config_file.h"
#include "text/cp932_text.h"
#include "ui/file_guard_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/startup_win.h"
#include "ui/system_menu_win.h"
#include "ui/window_win.h"

namespace {

// The six tab controls are separate controls, one per page; keeping their selections
// equal makes them look like one tab strip.
void OnTabChange(HWND page) {
    const int selected =
        static_cast<int>(SendDlgItemMessageA(page, IDC_TAB, TCM_GETCURSEL, 0, 0));
    // A tab control that reports no page leaves everything as it is, rather than
    // hiding every page.
    if (selected < 0 || selected >= kPageCount) return;
    current_page = page_windows[selected];
    for (int index = 0; index < kPageCount; ++index) {
        ShowWindow(page_windows[index], index == selected ? SW_SHOW : SW_HIDE);
        // TCM_SETCURSEL sends no TCN_SELCHANGE, so this starts no further switch.
        if (page_windows[index] != page)
            SendDlgItemMessageA(page_windows[index], IDC_TAB, TCM_SETCURSEL, selected, 0);
    }
}

void OnCommand(WORD id) {
    switch (id) {
        case IDC_SAVE:
            SaveFromWindow();
            RefreshSystemMenu();  // a save may have made the backup the restore item needs
            break;
        case IDC_EXIT: DestroyWindow(main_window); break;
        default: break;
    }
}

bool IsTabChange(WPARAM wparam, LPARAM lparam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    return LOWORD(wparam) == IDC_TAB && header != nullptr && header->code == TCN_SELCHANGE;
}

}  // namespace

void FillTabControl(HWND tab) {
    if (tab == nullptr) return;
    for (int index = 0; index < kPageCount; ++index) {
        std::wstring label = WideFromCp932(page_table[index]->tab_label);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = label.data();
        SendMessageW(tab, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
}

void TabFrame(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG: FillTabControl(GetDlgItem(page, IDC_TAB)); break;
        case WM_NOTIFY: if (IsTabChange(wparam, lparam)) OnTabChange(page); break;
        case WM_COMMAND: OnCommand(LOWORD(wparam)); break;
        default: break;
    }
}

void PopulatePage(int index) {
    if (index < 0 || index >= kPageCount) return;
    page_table[index]->populate(page_windows[index]);
}

// Every page is harvested even after one has failed: the save is abandoned all the same.
bool HarvestPages() {
    bool harvested = true;
    for (int index = 0; index < kPageCount; ++index) {
        const PageTableEntry& entry = *page_table[index];
        if (entry.harvest != nullptr && !entry.harvest(page_windows[index])) harvested = false;
    }
    return harvested;
}
