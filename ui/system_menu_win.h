// The main window's system-menu items: the two faces, Japanese and English, as radio
// items, and "restore the settings before the last save". They are built, brought up to
// date and answered here, over the face and the file guard. Windows only.
#pragma once

#include <windows.h>

// The items' commands; WM_SYSCOMMAND keeps the low four bits for itself, so each is a
// multiple of 16 below the system's own commands.
inline constexpr UINT kMenuJapanese = 0x0010;
inline constexpr UINT kMenuEnglish = 0x0020;
inline constexpr UINT kMenuRestore = 0x0030;

// Start-up, once the pages exist: appends the face items and the restore item.
void AddSystemMenuItems(HWND window);

// Brings the items up to date: the face shown is checked, the restore item speaks in it
// and is greyed while there is no backup (the menu opening, a save, a switch, a restore).
void RefreshSystemMenu();

// Handles a system-menu command; false when it is none of the items. Switching the
// face changes only texts, never a control's state, so unsaved edits stay as they are.
bool OnSystemMenuCommand(UINT command);
