// The key configuration page's state and operations beyond its page-table row:
// the row tables, the player being edited, the capture and its sleep, and the live view
// of the first controller. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/key_assign.h"

// Row r's button label and change button.
extern const int key_label_ids[kKeyRows];
extern const int key_button_ids[kKeyRows];

// The player being edited: 0 = 1P, 1 = 2P. Not stored; 0 at every start.
extern std::uint8_t current_player;

// A capture polls every 16 ms for at most 6000 ms, counted in sleeps: 375 polls.
inline constexpr DWORD kCapturePollPeriodMs = 16;
inline constexpr DWORD kCaptureBudgetMs = 6000;

// Waits up to the budget for a button 0 to 11 on the first controller and assigns the
// lowest one held to `row`'s slot of the current player's key map. Escape pressed during
// the wait ends it as the budget does. Blocks the thread.
void CaptureButton(HWND page, int row);

// What a capture calls between polls. Tests replace it so that no capture takes six
// seconds; nullptr restores the system's Sleep. Returns the previous function.
using CaptureSleepFunction = void (*)(DWORD milliseconds);
CaptureSleepFunction SetCaptureSleep(CaptureSleepFunction sleep);

// While the page is shown, the main window is active and no capture runs, the page polls
// the first controller at the capture's period: each row's label is highlighted while
// its button is held, a held button 0 to 11 that no row shows is named on the held line,
// and the controller's name follows a controller plugged in or pulled out, checked once
// a second. No timer runs otherwise.
inline constexpr UINT_PTR kLiveTimerId = 1;
inline constexpr UINT kLivePollsPerRefresh = 1000 / kCapturePollPeriodMs;

// The main window's activation (WM_ACTIVATE): the live view runs only while it is active,
// as the devices, opened for the foreground, read only then.
void OnMainWindowActivation(bool active);

// Whether the live view's timer runs, for tests.
bool KeyPageLiveViewRunning();
