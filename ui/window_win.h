// The window state start-up sets up, the page table, and the operations that move data
// between game_config and the pages. Windows only.
#pragma once

#include <windows.h>

#include "ui/english_texts.h"

inline constexpr int kPageCount = 6;

enum PageIndex {
    kOptionsPage = 0,
    kConnectPage = 1,
    kDeniedPage = 2,
    kAllowedPage = 3,
    kKeyConfigPage = 4,
    kMessagePage = 5,
};

// One page: its dialog template and procedure, its tab label, and the two operations
// that move its slice between game_config and its controls.
struct PageTableEntry {
    int dialog_template;
    DLGPROC procedure;
    const char* tab_label;
    const WindowTexts* texts;  // the page's English face
    void (*populate)(HWND page);
    // False when the controls could not be copied (memory ran out); the save then writes
    // nothing. Null for a page that writes game_config as it changes.
    bool (*harvest)(HWND page);
};

// The rows, each defined beside its page.
extern const PageTableEntry options_page;
extern const PageTableEntry connect_page;
extern const PageTableEntry denied_page;
extern const PageTableEntry allowed_page;
extern const PageTableEntry key_config_page;
extern const PageTableEntry message_page;

// In page order, which is at once the tab order and the order in which the pages are
// created, populated and harvested.
extern const PageTableEntry* const page_table[kPageCount];

extern HINSTANCE instance;
extern HWND main_window;
extern HWND page_windows[kPageCount];
extern HWND current_page;

// Inserts the six tab labels, in page order, into a page's tab control; null does nothing.
void FillTabControl(HWND tab);

// Copies page `index`'s slice of game_config into its controls; other indexes do nothing.
void PopulatePage(int index);

// Copies the controls of every page that has a harvest (0, 1, 2, 3 and 5), in page
// order, into game_config. False when one of them could not.
bool HarvestPages();

// Widens the captions of every page that the dialog font draws wider than their
// controls (at start-up, after a switch of face and after a change of scale).
void WidenPageCaptions();

// The frame every page procedure shares: WM_INITDIALOG fills the tab control,
// TCN_SELCHANGE from control 1001 switches pages, command 1022 saves, 1023 exits.
// Page procedures call it for every message and then do their own part.
void TabFrame(HWND page, UINT message, WPARAM wparam, LPARAM lparam);
