// The options page: radio groups and volume sliders over the option block.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "config/game_config.h"
#include "model/option_rules.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"

namespace {

// Each option the page shows, in the block's order (which is also the order the page is
// filled and harvested in), with its control: the first of a radio group's buttons,
// whose ids run on consecutively, or a volume's slider. extra_option has none.
struct OptionControl {
    OptionFieldId field;
    int control;
};

constexpr OptionControl kOptionControls[] = {
    {kScreenSizeField, IDC_SCREEN_640},      {kFullScreenField, IDC_FULL_SCREEN_ON},
    {kFps60Field, IDC_FPS_60},               {kBarrierField, IDC_BARRIER_NEAR},
    {kReduceLoadField, IDC_REDUCE_LOAD_ON},  {kScreenShakeField, IDC_SHAKE_ON},
    {kBgmVolumeField, IDC_BGM_VOLUME},       {kSeVolumeField, IDC_SE_VOLUME},
    {kVoiceVolumeField, IDC_VOICE_VOLUME},   {kDifficultyField, IDC_DIFFICULTY_EASY},
    {kMovieField, IDC_MOVIE_ON},             {kInactiveField, IDC_INACTIVE_ON},
    {kLoadingField, IDC_LOADING_DEFAULT},
};

// A slider shows volume + 10000, so its range starts at 0.
constexpr int kSliderOffset = -kLowestVolume;

void ShowOption(HWND page, const OptionControl& control) {
    const OptionRule& rule = OptionRuleOf(control.field);
    const std::int32_t value = OptionValue(game_config.options, rule);
    if (rule.kind == OptionKind::kVolume) {
        HWND trackbar = GetDlgItem(page, control.control);
        SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, kHighestVolume - kLowestVolume));
        // Held within the range here rather than by the trackbar, so a damaged value near
        // the int limits cannot overflow the addition.
        SendMessageA(trackbar, TBM_SETPOS, TRUE, SavedOptionValue(rule, value) + kSliderOffset);
        return;
    }
    const int last = control.control + rule.buttons - 1;
    CheckRadioButton(page, control.control, last, control.control + OptionButton(rule, value));
}

// A radio group saves the value of the first checked button, or of its last button.
void StoreOption(HWND page, const OptionControl& control) {
    const OptionRule& rule = OptionRuleOf(control.field);
    std::int32_t value = 0;
    if (rule.kind == OptionKind::kVolume) {
        value = static_cast<std::int32_t>(SendDlgItemMessageA(page, control.control, TBM_GETPOS, 0, 0)) - kSliderOffset;
    } else {
        int button = 0;
        while (button < rule.buttons - 1 && IsDlgButtonChecked(page, control.control + button) != BST_CHECKED)
            ++button;
        value = OptionButtonValue(rule, button);
    }
    SetOptionValue(game_config.options, rule, value);
}

void OnCommand(int id) {
    if (id == IDC_RESET) {
        ResetOptionPage();
        PopulatePage(kOptionsPage);
    }
}


void PopulateOptionsPage(HWND page) {
    for (const OptionControl& control : kOptionControls) ShowOption(page, control);
    InvalidateRect(page, nullptr, TRUE);
}

bool HarvestOptionsPage(HWND page) {
    for (const OptionControl& control : kOptionControls) StoreOption(page, control);
    return true;
}

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wparam)); break;
    }
    return FALSE;
}

}  // namespace

const PageTableEntry options_page = {
    IDD_OPTIONS_PAGE, OptionsPageProc, "オプション", &options_page_texts,
    PopulateOptionsPage, HarvestOptionsPage,
};
