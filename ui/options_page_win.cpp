// The options page: radio groups and volume sliders over the option block.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "config/game_config.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"

namespace {

// A pair of radio buttons for a flag: the first shows any non-zero value, the second 0.
struct OnOffGroup {
    int on_button;
    int off_button;
    std::int32_t OptionBlock::*field;
};

// The display settings, shown and saved before the volumes.
constexpr OnOffGroup kDisplayGroups[] = {
    {IDC_FULL_SCREEN_ON, IDC_FULL_SCREEN_OFF, &OptionBlock::full_screen},
    {IDC_FPS_60, IDC_FPS_30, &OptionBlock::fps_60},
    {IDC_BARRIER_NEAR, IDC_BARRIER_ALWAYS, &OptionBlock::barrier_near_character},
    {IDC_REDUCE_LOAD_ON, IDC_REDUCE_LOAD_OFF, &OptionBlock::reduce_load},
    {IDC_SHAKE_ON, IDC_SHAKE_OFF, &OptionBlock::screen_shake},
};

// The settings below the difficulty.
constexpr OnOffGroup kPlaybackGroups[] = {
    {IDC_MOVIE_ON, IDC_MOVIE_OFF, &OptionBlock::movie_playback},
    {IDC_INACTIVE_ON, IDC_INACTIVE_OFF, &OptionBlock::run_when_inactive},
};

// A radio group whose buttons have consecutive ids and stand for consecutive values.
// A stored value outside the set shows as the last button, and the last button saves
// the last value, so a save puts only values of the set back. One-byte fields are
// read and written as one byte: the gap bytes after them are not ours.
struct ChoiceGroup {
    int first_button;
    int buttons;
    int first_value;
    std::uint8_t OptionBlock::*byte_field;   // exactly one of the two fields is set
    std::int32_t OptionBlock::*int_field;
};

constexpr ChoiceGroup kScreenSize = {IDC_SCREEN_640, 3, 0, &OptionBlock::screen_size, nullptr};
constexpr ChoiceGroup kDifficulty = {IDC_DIFFICULTY_EASY, 4, 0, &OptionBlock::story_difficulty, nullptr};
constexpr ChoiceGroup kLoadingIllustration = {IDC_LOADING_DEFAULT, 3, 1, nullptr,
                                              &OptionBlock::loading_illustration};

struct VolumeSlider {
    int trackbar;
    std::int32_t OptionBlock::*field;
};

constexpr VolumeSlider kVolumeSliders[] = {
    {IDC_BGM_VOLUME, &OptionBlock::bgm_volume},
    {IDC_SE_VOLUME, &OptionBlock::se_volume},
    {IDC_VOICE_VOLUME, &OptionBlock::voice_volume},
};

// Volumes run from -10000 (lowest) to 0 (highest); a slider shows volume + 10000.
constexpr int kLowestVolume = -10000;
constexpr int kHighestVolume = 0;
constexpr int kSliderOffset = 10000;

bool IsChecked(HWND page, int button) { return IsDlgButtonChecked(page, button) == BST_CHECKED; }

void ShowOnOff(HWND page, const OnOffGroup& group) {
    bool on = game_config.options.*group.field != 0;
    CheckRadioButton(page, group.on_button, group.off_button, on ? group.on_button : group.off_button);
}

void StoreOnOff(HWND page, const OnOffGroup& group) {
    game_config.options.*group.field = IsChecked(page, group.on_button) ? 1 : 0;
}

void ShowChoice(HWND page, const ChoiceGroup& group) {
    const OptionBlock& o = game_config.options;
    int value = group.byte_field ? o.*group.byte_field : o.*group.int_field;
    // Compared before subtracting, so a damaged value near the integer limits cannot overflow.
    int index = value >= group.first_value && value <= group.first_value + group.buttons - 1
                    ? value - group.first_value
                    : group.buttons - 1;
    int last = group.first_button + group.buttons - 1;
    CheckRadioButton(page, group.first_button, last, group.first_button + index);
}

void StoreChoice(HWND page, const ChoiceGroup& group) {
    int index = 0;
    while (index < group.buttons - 1 && !IsChecked(page, group.first_button + index)) ++index;
    int value = group.first_value + index;
    OptionBlock& o = game_config.options;
    if (group.byte_field)
        o.*group.byte_field = static_cast<std::uint8_t>(value);
    else
        o.*group.int_field = value;
}

void ShowVolume(HWND page, const VolumeSlider& slider) {
    HWND trackbar = GetDlgItem(page, slider.trackbar);
    SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, kHighestVolume - kLowestVolume));
    // Clamped here rather than by the trackbar, so a damaged value near the int limits
    // cannot overflow the addition.
    int volume = std::clamp<int>(game_config.options.*slider.field, kLowestVolume, kHighestVolume);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, volume + kSliderOffset);
}

void StoreVolume(HWND page, const VolumeSlider& slider) {
    int position = static_cast<int>(SendDlgItemMessageA(page, slider.trackbar, TBM_GETPOS, 0, 0));
    game_config.options.*slider.field = position - kSliderOffset;
}

void OnCommand(int id) {
    if (id == IDC_RESET) {
        ResetOptionPage();
        PopulatePage(kOptionsPage);
    }
}


void PopulateOptionsPage(HWND page) {
    ShowChoice(page, kScreenSize);
    for (const OnOffGroup& group : kDisplayGroups) ShowOnOff(page, group);
    for (const VolumeSlider& slider : kVolumeSliders) ShowVolume(page, slider);
    ShowChoice(page, kDifficulty);
    for (const OnOffGroup& group : kPlaybackGroups) ShowOnOff(page, group);
    ShowChoice(page, kLoadingIllustration);
    InvalidateRect(page, nullptr, TRUE);
}

bool HarvestOptionsPage(HWND page) {
    StoreChoice(page, kScreenSize);
    for (const OnOffGroup& group : kDisplayGroups) StoreOnOff(page, group);
    for (const VolumeSlider& slider : kVolumeSliders) StoreVolume(page, slider);
    StoreChoice(page, kDifficulty);
    for (const OnOffGroup& group : kPlaybackGroups) StoreOnOff(page, group);
    StoreChoice(page, kLoadingIllustration);
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
