// Page 4: each player's input method and joypad buttons, the buttons captured live
// from the first game controller, and a live view of that controller (held buttons
// highlighted, its name, which follows Windows' device notices). Every change goes into
// game_config at once; the page is never harvested.
#include "ui/key_config_page_win.h"

#include <cstdio>

#include "message/error_message.h"
#include "config/game_config.h"
#include "input/devices_win.h"
#include "input/input.h"
#include "input/input_state.h"
#include "ui/resources/resource_ids.h"
#include "ui/language_win.h"
#include "ui/startup_win.h"
#include "ui/window_win.h"
#include "ui/window_text_win.h"

const int key_label_ids[kKeyRows] = {
    IDC_KEY_LABEL_1, IDC_KEY_LABEL_2, IDC_KEY_LABEL_3, IDC_KEY_LABEL_4, IDC_KEY_LABEL_5,
    IDC_KEY_LABEL_6, IDC_KEY_LABEL_7, IDC_KEY_LABEL_8, IDC_KEY_LABEL_9,
};
const int key_button_ids[kKeyRows] = {
    IDC_KEY_CHANGE_1, IDC_KEY_CHANGE_2, IDC_KEY_CHANGE_3, IDC_KEY_CHANGE_4, IDC_KEY_CHANGE_5,
    IDC_KEY_CHANGE_6, IDC_KEY_CHANGE_7, IDC_KEY_CHANGE_8, IDC_KEY_CHANGE_9,
};

std::uint8_t current_player = 0;

namespace {

void PopulateKeyConfigPage(HWND page);

void SystemSleep(DWORD milliseconds) { Sleep(milliseconds); }

CaptureSleepFunction capture_sleep = SystemSleep;

KeyMap& CurrentKeyMap() { return game_config.options.key_map[current_player]; }
std::int32_t& CurrentInputMethod() { return game_config.options.input_method[current_player]; }

// The row whose change button has this id, or -1.
int ChangeButtonRow(int id) {
    for (int row = 0; row < kKeyRows; ++row) {
        if (key_button_ids[row] == id) return row;
    }
    return -1;
}

// The live view. lit_rows and unshown_held are what the page shows now, so that a poll
// repaints only what changed.
bool main_window_active = false;
bool capturing = false;
bool live_running = false;
std::uint16_t lit_rows = 0;      // bit r: row r's label is highlighted
std::uint16_t unshown_held = 0;  // bit b: button b is held and no row shows it

// A device notice that no enumeration has followed yet, and whether the timer that
// waits for the notices to settle runs.
bool devices_changed = false;
bool settling = false;

// The rows whose button the first controller holds; a row shows its slot's button,
// whatever its number (a stored 20 lights while button 20 is held).
std::uint16_t HeldRows() {
    const KeyMap& map = CurrentKeyMap();
    std::uint16_t rows = 0;
    for (int row = 0; row < kKeyRows; ++row) {
        if (JoystickButton(0, map[key_rows[row].slot]) != 0) rows |= static_cast<std::uint16_t>(1u << row);
    }
    return rows;
}

// Buttons a capture would take (0 to 11) that are held and shown by no row: the hidden
// slot's button, or a button no slot holds.
std::uint16_t HeldUnshownButtons() {
    std::uint16_t held = 0;
    for (std::uint8_t button = 0; button < kCaptureButtons; ++button) {
        if (JoystickButton(0, button) != 0) held |= static_cast<std::uint16_t>(1u << button);
    }
    const KeyMap& map = CurrentKeyMap();
    for (int row = 0; row < kKeyRows; ++row) {
        const std::uint8_t shown = map[key_rows[row].slot];
        if (shown < kCaptureButtons) held &= static_cast<std::uint16_t>(~(1u << shown));
    }
    return held;
}

// "Held: KEY 9, 11, 12" (numbers as the labels show them), or nothing.
void ShowHeldLine(HWND page) {
    char text[64] = "";
    if (unshown_held != 0) {
        int used = std::snprintf(text, sizeof text, "%s KEY", LocalText(MessageId::kHeldKeys));
        const char* separator = " ";
        for (int button = 0; button < kCaptureButtons && used > 0 && used < static_cast<int>(sizeof text); ++button) {
            if ((unshown_held & (1u << button)) == 0) continue;
            used += std::snprintf(text + used, sizeof text - used, "%s%d", separator, button + 1);
            separator = ", ";
        }
    }
    SetCp932Text(GetDlgItem(page, IDC_HELD_KEYS), text);
}

// The controller a capture reads: its product name, or that there is none.
void ShowControllerName(HWND page) {
    HWND line = GetDlgItem(page, IDC_JOYPAD_NAME);
    if (const wchar_t* name = FirstJoystickName())
        SetWindowTextW(line, name);
    else
        SetCp932Text(line, LocalText(MessageId::kNoJoypadName));
}

void ShowLitRows(HWND page, std::uint16_t rows) {
    const std::uint16_t changed = rows ^ lit_rows;
    lit_rows = rows;
    for (int row = 0; row < kKeyRows; ++row) {
        if ((changed & (1u << row)) != 0) InvalidateRect(GetDlgItem(page, key_label_ids[row]), nullptr, TRUE);
    }
}

void ShowUnshownHeld(HWND page, std::uint16_t held) {
    if (held == unshown_held) return;
    unshown_held = held;
    ShowHeldLine(page);
}

// The view reads only the first controller's buttons: without it open, it has nothing to
// read and no reason to run.
bool FirstControllerOpen() { return JoystickState(0) != nullptr; }

// Starts or stops the view's timer as the page's visibility, the window's activation,
// a capture and the first controller decide. Stopped, nothing shows as held.
void UpdateLiveView(HWND page, bool shown) {
    const bool run = page != nullptr && shown && main_window_active && !capturing && FirstControllerOpen();
    if (run == live_running) return;
    if (run) {
        live_running = SetTimer(page, kLiveTimerId, kCapturePollPeriodMs, nullptr) != 0;
        return;
    }
    KillTimer(page, kLiveTimerId);
    live_running = false;
    ShowLitRows(page, 0);
    ShowUnshownHeld(page, 0);
}

// A controller whose reads failed and that DirectInput reports pulled out is let go: the
// name line says so at once.
bool FollowLostController(HWND page) {
    if (!ForgetLostJoysticks()) return false;
    ShowControllerName(page);
    return true;
}

// One poll of the live view: a device read and a few comparisons; text only when
// something changed. With the controller gone there is nothing left to read: it stops.
void LiveTick(HWND page) {
    // A tick posted before the timer was killed may still come; it reads nothing.
    if (!live_running) return;
    PollInput();
    if (FollowLostController(page)) {
        UpdateLiveView(page, true);
        return;
    }
    ShowLitRows(page, HeldRows());
    ShowUnshownHeld(page, HeldUnshownButtons());
}

// The one enumeration a settled run of device notices asks for.
void FollowDeviceChange(HWND page, bool shown) {
    devices_changed = false;
    RescanJoysticks(startup_context);
    ShowControllerName(page);
    UpdateLiveView(page, shown);
}

// The notices have settled: followed now while the page is shown, else kept for later.
void OnDevicesSettled(HWND page) {
    KillTimer(page, kDeviceSettleTimerId);
    settling = false;
    if (devices_changed && IsWindowVisible(page)) FollowDeviceChange(page, true);
}

// A notice kept from while the page was hidden is followed as it comes back into view.
void OnShowPage(HWND page, bool shown) {
    if (shown && devices_changed && !settling) {
        FollowDeviceChange(page, true);
        return;
    }
    UpdateLiveView(page, shown);
}

void StopLiveView(HWND page) {
    KillTimer(page, kLiveTimerId);
    KillTimer(page, kDeviceSettleTimerId);
    live_running = false;
    main_window_active = false;
    capturing = false;
    lit_rows = 0;
    unshown_held = 0;
    devices_changed = false;
    settling = false;
}

// A highlighted label is drawn in the system's selection colours.
INT_PTR LabelColours(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    for (int row = 0; row < kKeyRows; ++row) {
        if (key_label_ids[row] != id || (lit_rows & (1u << row)) == 0) continue;
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    return FALSE;
}

// Paints the label at once rather than when a WM_PAINT would next be dispatched, which
// a capture never does while it waits.
void PaintNow(HWND label) { RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void SelectPlayer(HWND page, std::uint8_t player) {
    if (current_player == player) return;
    current_player = player;
    PopulateKeyConfigPage(page);
}

void ResetKeyMap(HWND page) {
    CurrentKeyMap() = IdentityKeyMap();
    PopulateKeyConfigPage(page);
}

void OnCommand(HWND page, int id) {
    const int row = ChangeButtonRow(id);
    if (row >= 0) {
        CaptureButton(page, row);
        return;
    }
    switch (id) {
    case IDC_PLAYER_1: SelectPlayer(page, 0); break;
    case IDC_PLAYER_2: SelectPlayer(page, 1); break;
    case IDC_METHOD_KEYBOARD: CurrentInputMethod() = 1; break;
    case IDC_METHOD_JOYPAD: CurrentInputMethod() = 0; break;
    case IDC_RESET: ResetKeyMap(page); break;
    }
}

}  // namespace

CaptureSleepFunction SetCaptureSleep(CaptureSleepFunction sleep) {
    CaptureSleepFunction previous = capture_sleep;
    capture_sleep = sleep != nullptr ? sleep : SystemSleep;
    return previous;
}

namespace {

void PopulateKeyConfigPage(HWND page) {
    CheckRadioButton(page, IDC_PLAYER_1, IDC_PLAYER_2, current_player == 0 ? IDC_PLAYER_1 : IDC_PLAYER_2);
    CheckRadioButton(page, IDC_METHOD_KEYBOARD, IDC_METHOD_JOYPAD,
                     CurrentInputMethod() != 0 ? IDC_METHOD_KEYBOARD : IDC_METHOD_JOYPAD);
    for (int row = 0; row < kKeyRows; ++row) {
        SetWindowTextA(GetDlgItem(page, key_label_ids[row]), RowLabel(CurrentKeyMap(), row).text);
    }
    ShowControllerName(page);
    ShowHeldLine(page);
}

}  // namespace

namespace {

void RunCapture(HWND page, int row) {
    // With none counted, a pad plugged in since is looked for (one enumeration) before
    // the user is told there is none.
    if (JoystickCount() == 0 && FindLateJoysticks(startup_context) != 0) ShowControllerName(page);
    if (JoystickCount() == 0) {
        ShowErrorMessage(MessageId::kNoJoypad);
        return;
    }
    HWND label = GetDlgItem(page, key_label_ids[row]);
    SetCp932Text(label, LocalText(MessageId::kCapturing));
    // Escape counts as held until a poll finds it up, so only a press made during the
    // wait ends it, not a key still down from before.
    bool escape_held = true;
    bool pulled_out = false;
    // The state of the buttons is read, not their changes, so a button already held
    // when the change button was pressed is taken at the first poll.
    for (DWORD elapsed = 0; elapsed < kCaptureBudgetMs; elapsed += kCapturePollPeriodMs) {
        // Repainted before every poll, not only once: nothing else paints while the
        // capture holds the thread, so "変更中" stays on screen even if the window was
        // covered meanwhile, and it gets there also where a busy thread's drawing is
        // shown only at a later paint (Wine: once 50 ms have passed without messages).
        PaintNow(label);
        PollInput();
        // Pulled out (before the click, unnoticed, or during the wait): nothing to read.
        if (FollowLostController(page)) {
            pulled_out = true;
            break;
        }
        const bool escape_down = KeyState(kKeyEscape) != 0;
        // Escape wins over a button pressed at the same poll: the user asked to leave.
        if (escape_down && !escape_held) break;
        escape_held = escape_down;
        for (std::uint8_t button = 0; button < kCaptureButtons; ++button) {
            if (JoystickButton(0, button) != 0) {
                AssignButton(CurrentKeyMap(), key_rows[row].slot, button);
                PopulateKeyConfigPage(page);
                return;
            }
        }
        capture_sleep(kCapturePollPeriodMs);
    }
    // Nothing pressed, Escape, or the controller gone: the label goes back to the row's
    // unchanged button.
    PopulateKeyConfigPage(page);
    // Told as a Change is told that finds no controller, once the label is back.
    if (pulled_out) ShowErrorMessage(MessageId::kNoJoypad);
}

}  // namespace

// The live view stops while the capture polls on its own, and resumes after it.
void CaptureButton(HWND page, int row) {
    capturing = true;
    UpdateLiveView(page, IsWindowVisible(page) != FALSE);
    RunCapture(page, row);
    capturing = false;
    UpdateLiveView(page, IsWindowVisible(page) != FALSE);
}

void OnMainWindowActivation(bool active) {
    main_window_active = active;
    HWND page = page_windows[kKeyConfigPage];
    if (page != nullptr) UpdateLiveView(page, IsWindowVisible(page) != FALSE);
}

bool KeyPageLiveViewRunning() { return live_running; }

void OnDeviceNotice() {
    devices_changed = true;
    HWND page = page_windows[kKeyConfigPage];
    if (page == nullptr) return;  // before the pages exist: followed when it is first shown
    // Each notice starts the wait again, so a burst of them ends in one enumeration.
    settling = SetTimer(page, kDeviceSettleTimerId, kDeviceSettleMs, nullptr) != 0;
    if (!settling) OnDevicesSettled(page);
}

namespace {

void OnTimer(HWND page, WPARAM id) {
    if (id == kLiveTimerId) LiveTick(page);
    else if (id == kDeviceSettleTimerId) OnDevicesSettled(page);
}

INT_PTR CALLBACK KeyConfigPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    switch (message) {
    case WM_COMMAND: OnCommand(page, LOWORD(wparam)); break;
    case WM_SHOWWINDOW: OnShowPage(page, wparam != FALSE); break;
    case WM_TIMER: OnTimer(page, wparam); break;
    // The one message the page answers: the colours of a highlighted label.
    case WM_CTLCOLORSTATIC: return LabelColours(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DESTROY: StopLiveView(page); break;
    }
    return FALSE;
}

}  // namespace

// The page writes game_config as it changes: it has nothing to harvest.
const PageTableEntry key_config_page = {
    IDD_KEY_CONFIG_PAGE, KeyConfigPageProc, "キーコンフィグ", &key_config_page_texts,
    PopulateKeyConfigPage, nullptr,
};
