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

// While the page is shown, the main window is active, no capture runs and the first
// controller is open, the page polls it at the capture's period: each row's label is
// highlighted while its button is held, and a held button 0 to 11 that no row shows is
// named on the held line. No timer runs otherwise, and no device is read.
inline constexpr UINT_PTR kLiveTimerId = 1;

// One plug brings several device notices; the controllers are enumerated once, when no
// notice has come for this long.
inline constexpr UINT_PTR kDeviceSettleTimerId = 2;
inline constexpr UINT kDeviceSettleMs = 300;

// Windows reported that devices came or went (the main window's WM_DEVICECHANGE). The
// only moment, besides start-up and a Change with no controller, that the controllers are
// enumerated: once the notices have settled while the page is shown, or else when the
// page is next shown. An enumeration can take seconds on some machines, so nothing else
// (showing the page, the window's activation, a timer) ever starts one.
void OnDeviceNotice();

// The main window's activation (WM_ACTIVATE): the live view runs only while it is active,
// as the devices, opened for the foreground, read only then.
void OnMainWindowActivation(bool active);

// Whether the live view's timer runs, for tests.
bool KeyPageLiveViewRunning();
