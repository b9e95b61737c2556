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

struct PageTableEntry {
    int dialog_template;
    DLGPROC procedure;
    const char* tab_label;
    const WindowTexts* texts;  // the page's English face
};

extern const PageTableEntry page_table[kPageCount];

extern HINSTANCE instance;
extern HWND main_window;
extern HWND page_windows[kPageCount];
extern HWND current_page;

// Inserts the six tab labels, in page order, into a page's tab control; null does nothing.
void FillTabControl(HWND tab);

// Copies page `index`'s slice of game_config into its controls; other indexes do nothing.
void PopulatePage(int index);

// Copies the controls of pages 0, 1, 2, 3 and 5, in that order, into game_config.
void HarvestPages();

// The frame every page procedure shares: WM_INITDIALOG fills the tab control,
// TCN_SELCHANGE from control 1001 switches pages, command 1022 saves, 1023 exits.
// Page procedures call it for every message and then do their own part.
void TabFrame(HWND page, UINT message, WPARAM wparam, LPARAM lparam);

// Page procedures and the page slices, one pair per page file.
INT_PTR CALLBACK OptionsPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK ConnectPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK AddressListPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK KeyConfigPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK MessagePageProc(HWND, UINT, WPARAM, LPARAM);

void PopulateOptionsPage(HWND page);
void HarvestOptionsPage(HWND page);
void PopulateConnectPage(HWND page);
void HarvestConnectPage(HWND page);
void PopulateDeniedPage(HWND page);
void HarvestDeniedPage(HWND page);
void PopulateAllowedPage(HWND page);
void HarvestAllowedPage(HWND page);
void PopulateKeyConfigPage(HWND page);
void PopulateMessagePage(HWND page);
void HarvestMessagePage(HWND page);
