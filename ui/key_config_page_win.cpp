// Page 4: each player's input method and joypad buttons, the buttons captured live
// from the first game controller. Every change goes into game_config at once; the
// page is never harvested.
#include "ui/key_config_page_win.h"

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
}

}  // namespace

void CaptureButton(HWND page, int row) {
    // A pad plugged in after start-up is looked for before the user is told there is none.
    if (JoystickCount() == 0 && FindLateJoysticks(startup_context) == 0) {
        ShowErrorMessage(MessageId::kNoJoypad);
        return;
    }
    HWND label = GetDlgItem(page, key_label_ids[row]);
    SetCp932Text(label, LocalText(MessageId::kCapturing));
    // Escape counts as held until a poll finds it up, so only a press made during the
    // wait ends it, not a key still down from before.
    bool escape_held = true;
    // The state of the buttons is read, not their changes, so a button already held
    // when the change button was pressed is taken at the first poll.
    for (DWORD elapsed = 0; elapsed < kCaptureBudgetMs; elapsed += kCapturePollPeriodMs) {
        // Repainted before every poll, not only once: nothing else paints while the
        // capture holds the thread, so "変更中" stays on screen even if the window was
        // covered meanwhile, and it gets there also where a busy thread's drawing is
        // shown only at a later paint (Wine: once 50 ms have passed without messages).
        PaintNow(label);
        PollInput();
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
    // Nothing pressed, or Escape: the label goes back to the row's unchanged button.
    PopulateKeyConfigPage(page);
}

namespace {

INT_PTR CALLBACK KeyConfigPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    switch (message) {
    case WM_COMMAND: OnCommand(page, LOWORD(wparam)); break;
    }
    return FALSE;
}

}  // namespace

// The page writes game_config as it changes: it has nothing to harvest.
const PageTableEntry key_config_page = {
    IDD_KEY_CONFIG_PAGE, KeyConfigPageProc, "キーコンフィグ", &key_config_page_texts,
    PopulateKeyConfigPage, nullptr,
};
