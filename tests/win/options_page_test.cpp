// The options page: its template, what each stored value shows and saves back, the
// sliders, the radio groups under clicks, and the reset button.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "config/game_config.h"
#include "layout_check.h"
#include "page_files.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "window_fixture.h"

using config_layout::kOptionsAt;
using config_layout::Slice;
using testing_support::Hex;

namespace {

struct RadioGroup {
    const char* name;
    std::vector<int> buttons;
};

const RadioGroup kGroups[] = {
    {"screen size", {IDC_SCREEN_640, IDC_SCREEN_800, IDC_SCREEN_1024}},
    {"full screen", {IDC_FULL_SCREEN_ON, IDC_FULL_SCREEN_OFF}},
    {"fps", {IDC_FPS_60, IDC_FPS_30}},
    {"barrier", {IDC_BARRIER_NEAR, IDC_BARRIER_ALWAYS}},
    {"reduce load", {IDC_REDUCE_LOAD_ON, IDC_REDUCE_LOAD_OFF}},
    {"shake", {IDC_SHAKE_ON, IDC_SHAKE_OFF}},
    {"difficulty", {IDC_DIFFICULTY_EASY, IDC_DIFFICULTY_NORMAL, IDC_DIFFICULTY_HARD, IDC_DIFFICULTY_NIGHTMARE}},
    {"movie", {IDC_MOVIE_ON, IDC_MOVIE_OFF}},
    {"inactive", {IDC_INACTIVE_ON, IDC_INACTIVE_OFF}},
    {"loading", {IDC_LOADING_DEFAULT, IDC_LOADING_ILLUST, IDC_LOADING_ALL}},
};

const RadioGroup& GroupOf(int button) {
    for (const RadioGroup& group : kGroups)
        for (int id : group.buttons)
            if (id == button) return group;
    return kGroups[0];
}

class OptionsPageTest : public WindowFixture {
protected:
    HWND page() const { return Page(kOptionsPage); }

    // The one checked button of `group`; 0 when none is, -1 when several are.
    int Checked(const RadioGroup& group) const {
        int found = 0;
        for (int id : group.buttons) {
            if (IsDlgButtonChecked(page(), id) != BST_CHECKED) continue;
            found = found == 0 ? id : -1;
        }
        return found;
    }

    int SliderPosition(int id) const {
        return static_cast<int>(SendMessageA(Control(kOptionsPage, id), TBM_GETPOS, 0, 0));
    }

    // In-set values for every field, with marked gap bytes, then `change` on top.
    void Show(void (*change)(OptionBlock&)) {
        ResetOptionPage(game_config);
        OptionBlock& o = game_config.options;
        o.gap_after_screen_size[0] = 0xa1, o.gap_after_screen_size[1] = 0xa2, o.gap_after_screen_size[2] = 0xa3;
        o.gap_after_difficulty[0] = 0xb1, o.gap_after_difficulty[1] = 0xb2, o.gap_after_difficulty[2] = 0xb3;
        if (change) change(o);
        PopulatePage(kOptionsPage);
    }

    std::vector<std::uint8_t> SaveAndRead() {
        Command(kOptionsPage, IDC_SAVE);
        return folder_->ReadConfig();
    }
};

// What a stored value shows and what a save then writes at its place in the file
// (the field's bytes, and for the one-byte fields the gap after them, which must stay).
struct ChoiceCase {
    const char* name;
    void (*store)(OptionBlock&);
    int shown;
    std::size_t offset;  // in the option block
    const char* saved;
};

const ChoiceCase kChoiceCases[] = {
    {"screen 0", [](OptionBlock& o) { o.screen_size = 0; }, IDC_SCREEN_640, 0, "00 a1a2a3"},
    {"screen 1", [](OptionBlock& o) { o.screen_size = 1; }, IDC_SCREEN_800, 0, "01 a1a2a3"},
    {"screen 2", [](OptionBlock& o) { o.screen_size = 2; }, IDC_SCREEN_1024, 0, "02 a1a2a3"},
    {"screen 7", [](OptionBlock& o) { o.screen_size = 7; }, IDC_SCREEN_1024, 0, "02 a1a2a3"},
    {"full screen 1", [](OptionBlock& o) { o.full_screen = 1; }, IDC_FULL_SCREEN_ON, 4, "01000000"},
    {"full screen 0", [](OptionBlock& o) { o.full_screen = 0; }, IDC_FULL_SCREEN_OFF, 4, "00000000"},
    {"full screen 5", [](OptionBlock& o) { o.full_screen = 5; }, IDC_FULL_SCREEN_ON, 4, "01000000"},
    {"full screen -1", [](OptionBlock& o) { o.full_screen = -1; }, IDC_FULL_SCREEN_ON, 4, "01000000"},
    {"fps 0", [](OptionBlock& o) { o.fps_60 = 0; }, IDC_FPS_30, 8, "00000000"},
    {"fps 2", [](OptionBlock& o) { o.fps_60 = 2; }, IDC_FPS_60, 8, "01000000"},
    {"barrier 0", [](OptionBlock& o) { o.barrier_near_character = 0; }, IDC_BARRIER_ALWAYS, 12, "00000000"},
    {"barrier 0x100", [](OptionBlock& o) { o.barrier_near_character = 0x100; }, IDC_BARRIER_NEAR, 12, "01000000"},
    {"reduce load 1", [](OptionBlock& o) { o.reduce_load = 1; }, IDC_REDUCE_LOAD_ON, 16, "01000000"},
    {"reduce load 0", [](OptionBlock& o) { o.reduce_load = 0; }, IDC_REDUCE_LOAD_OFF, 16, "00000000"},
    {"shake 0", [](OptionBlock& o) { o.screen_shake = 0; }, IDC_SHAKE_OFF, 20, "00000000"},
    {"shake 3", [](OptionBlock& o) { o.screen_shake = 3; }, IDC_SHAKE_ON, 20, "01000000"},
    {"difficulty 0", [](OptionBlock& o) { o.story_difficulty = 0; }, IDC_DIFFICULTY_EASY, 68, "00 b1b2b3"},
    {"difficulty 1", [](OptionBlock& o) { o.story_difficulty = 1; }, IDC_DIFFICULTY_NORMAL, 68, "01 b1b2b3"},
    {"difficulty 2", [](OptionBlock& o) { o.story_difficulty = 2; }, IDC_DIFFICULTY_HARD, 68, "02 b1b2b3"},
    {"difficulty 3", [](OptionBlock& o) { o.story_difficulty = 3; }, IDC_DIFFICULTY_NIGHTMARE, 68, "03 b1b2b3"},
    {"difficulty 4", [](OptionBlock& o) { o.story_difficulty = 4; }, IDC_DIFFICULTY_NIGHTMARE, 68, "03 b1b2b3"},
    {"movie 0", [](OptionBlock& o) { o.movie_playback = 0; }, IDC_MOVIE_OFF, 72, "00000000"},
    {"movie 9", [](OptionBlock& o) { o.movie_playback = 9; }, IDC_MOVIE_ON, 72, "01000000"},
    {"inactive 1", [](OptionBlock& o) { o.run_when_inactive = 1; }, IDC_INACTIVE_ON, 76, "01000000"},
    {"inactive 0", [](OptionBlock& o) { o.run_when_inactive = 0; }, IDC_INACTIVE_OFF, 76, "00000000"},
    {"inactive INT_MIN", [](OptionBlock& o) { o.run_when_inactive = INT_MIN; }, IDC_INACTIVE_ON, 76, "01000000"},
    {"loading 1", [](OptionBlock& o) { o.loading_illustration = 1; }, IDC_LOADING_DEFAULT, 80, "01000000"},
    {"loading 2", [](OptionBlock& o) { o.loading_illustration = 2; }, IDC_LOADING_ILLUST, 80, "02000000"},
    {"loading 3", [](OptionBlock& o) { o.loading_illustration = 3; }, IDC_LOADING_ALL, 80, "03000000"},
    {"loading 0", [](OptionBlock& o) { o.loading_illustration = 0; }, IDC_LOADING_ALL, 80, "03000000"},
    {"loading 4", [](OptionBlock& o) { o.loading_illustration = 4; }, IDC_LOADING_ALL, 80, "03000000"},
    {"loading -1", [](OptionBlock& o) { o.loading_illustration = -1; }, IDC_LOADING_ALL, 80, "03000000"},
    {"loading INT_MIN", [](OptionBlock& o) { o.loading_illustration = INT32_MIN; }, IDC_LOADING_ALL, 80, "03000000"},
};

TEST_F(OptionsPageTest, EveryStoredValueShowsOneButtonAndSavesAValueOfItsSet) {
    for (const ChoiceCase& c : kChoiceCases) {
        SCOPED_TRACE(c.name);
        Show(c.store);
        EXPECT_EQ(Checked(GroupOf(c.shown)), c.shown);
        std::vector<std::uint8_t> saved = Hex(c.saved);
        EXPECT_EQ(Slice(SaveAndRead(), kOptionsAt + c.offset, saved.size()), saved);
    }
}

struct VolumeCase {
    const char* name;
    int slider;
    std::size_t offset;
    std::int32_t stored;
    int position;
    const char* saved;
};

const VolumeCase kVolumeCases[] = {
    {"bgm default", IDC_BGM_VOLUME, 28, -1600, 8400, "c0f9ffff"},
    {"bgm lowest", IDC_BGM_VOLUME, 28, -10000, 0, "f0d8ffff"},
    {"bgm below the lowest", IDC_BGM_VOLUME, 28, -10001, 0, "f0d8ffff"},
    {"bgm far below", IDC_BGM_VOLUME, 28, INT_MIN, 0, "f0d8ffff"},
    {"se highest", IDC_SE_VOLUME, 32, 0, 10000, "00000000"},
    {"se above the highest", IDC_SE_VOLUME, 32, 1, 10000, "00000000"},
    {"se far above", IDC_SE_VOLUME, 32, INT_MAX, 10000, "00000000"},
    {"se middle", IDC_SE_VOLUME, 32, -5000, 5000, "78ecffff"},
    {"voice default", IDC_VOICE_VOLUME, 36, 0, 10000, "00000000"},
    {"voice one step up", IDC_VOICE_VOLUME, 36, -9999, 1, "f1d8ffff"},
};

TEST_F(OptionsPageTest, VolumesShowAsSliderPositionsAndSaveWithinTheirRange) {
    for (const VolumeCase& c : kVolumeCases) {
        SCOPED_TRACE(c.name);
        ResetOptionPage(game_config);
        std::int32_t OptionBlock::*field = c.slider == IDC_BGM_VOLUME ? &OptionBlock::bgm_volume
                                           : c.slider == IDC_SE_VOLUME ? &OptionBlock::se_volume
                                                                       : &OptionBlock::voice_volume;
        game_config.options.*field = c.stored;
        PopulatePage(kOptionsPage);
        HWND slider = Control(kOptionsPage, c.slider);
        EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 10000);
        EXPECT_EQ(SliderPosition(c.slider), c.position);
        std::vector<std::uint8_t> saved = Hex(c.saved);
        EXPECT_EQ(Slice(SaveAndRead(), kOptionsAt + c.offset, 4), saved);
    }
}

// What the user's clicks and slider moves save (every button's click is checked by the
// group test below; these show the harvest reads what a click left).
TEST_F(OptionsPageTest, ClicksAndSliderMovesAreWhatASaveStores) {
    struct Action {
        const char* name;
        int control;
        int slider_position;  // for sliders; buttons are clicked
        std::size_t offset;
        const char* saved;
    };
    const Action actions[] = {
        {"1024x768", IDC_SCREEN_1024, 0, 0, "02 a1a2a3"},
        {"30 fps", IDC_FPS_30, 0, 8, "00000000"},
        {"nightmare", IDC_DIFFICULTY_NIGHTMARE, 0, 68, "03 b1b2b3"},
        {"loading illustrations", IDC_LOADING_ILLUST, 0, 80, "02000000"},
        {"bgm lowest", IDC_BGM_VOLUME, 0, 28, "f0d8ffff"},
        {"se 1234", IDC_SE_VOLUME, 1234, 32, "c2ddffff"},
        {"voice 9999", IDC_VOICE_VOLUME, 9999, 36, "ffffffff"},
    };
    for (const Action& a : actions) {
        SCOPED_TRACE(a.name);
        Show(nullptr);
        HWND control = Control(kOptionsPage, a.control);
        if (a.control == IDC_BGM_VOLUME || a.control == IDC_SE_VOLUME || a.control == IDC_VOICE_VOLUME)
            SendMessageA(control, TBM_SETPOS, TRUE, a.slider_position);
        else
            Click(kOptionsPage, a.control);
        std::vector<std::uint8_t> saved = Hex(a.saved);
        EXPECT_EQ(Slice(SaveAndRead(), kOptionsAt + a.offset, saved.size()), saved);
    }
}

// A click checks its button and clears the rest of its group, and only of its group:
// each group must start with WS_GROUP and hold nothing of its neighbours.
TEST_F(OptionsPageTest, EachRadioGroupSwitchesOnItsOwn) {
    Show(nullptr);
    std::vector<int> before;
    for (const RadioGroup& group : kGroups) before.push_back(Checked(group));
    for (std::size_t g = 0; g < std::size(kGroups); ++g) {
        for (int button : kGroups[g].buttons) {
            SCOPED_TRACE(button);
            Click(kOptionsPage, button);
            before[g] = button;
            for (std::size_t other = 0; other < std::size(kGroups); ++other)
                EXPECT_EQ(Checked(kGroups[other]), before[other]) << kGroups[other].name;
        }
    }
}

TEST_F(OptionsPageTest, PopulateRepaintsThePage) {
    ValidateRect(page(), nullptr);
    RECT dirty;
    ASSERT_FALSE(GetUpdateRect(page(), &dirty, FALSE));
    PopulatePage(kOptionsPage);
    ASSERT_TRUE(GetUpdateRect(page(), &dirty, FALSE));
    RECT client;
    GetClientRect(page(), &client);
    RECT shown;  // the page as far as the main window shows it
    GetClientRect(main_window, &shown);
    MapWindowPoints(main_window, page(), reinterpret_cast<POINT*>(&shown), 2);
    IntersectRect(&shown, &shown, &client);
    EXPECT_TRUE(EqualRect(&dirty, &shown))
        << dirty.left << "," << dirty.top << "," << dirty.right << "," << dirty.bottom << " vs "
        << shown.left << "," << shown.top << "," << shown.right << "," << shown.bottom;
}

class OptionsFileTest : public OptionsPageTest {
protected:
    void PrepareConfig() override {
        original_ = page_files::File272(page_files::UnusualOptionBlock(), MessagesWithLeftovers());
        folder_->WriteConfig(original_);
    }

    // Texts with bytes after their NUL, which carry nothing and are kept as they are.
    static std::vector<std::uint8_t> MessagesWithLeftovers() {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < 8; ++i) {
            std::string field = "msg" + std::to_string(i);
            field += std::string(1, '\0') + "left over";
            auto item = config_layout::MessageItem(field, static_cast<std::uint8_t>(i % 2));
            bytes.insert(bytes.end(), item.begin(), item.end());
        }
        return bytes;
    }

    std::vector<std::uint8_t> original_;
};

TEST_F(OptionsFileTest, SavingWithoutTouchingAnyPageWritesTheSameBytes) {
    ASSERT_EQ(original_.size(), config_layout::kFileBytes);
    EXPECT_EQ(SaveAndRead(), original_);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(OptionsFileTest, ResetShowsAndSavesTheInitialSettingsAndKeepsTheRest) {
    Click(kOptionsPage, IDC_SCREEN_1024);  // an edit the reset overrides
    // The command acts on the control id whatever the notification code says.
    SendMessageA(page(), WM_COMMAND, MAKEWPARAM(IDC_RESET, 0x1234),
                 reinterpret_cast<LPARAM>(Control(kOptionsPage, IDC_RESET)));
    const int shown[] = {IDC_SCREEN_640,      IDC_FULL_SCREEN_OFF, IDC_FPS_60,
                         IDC_BARRIER_NEAR,    IDC_REDUCE_LOAD_OFF, IDC_SHAKE_ON,
                         IDC_DIFFICULTY_NORMAL, IDC_MOVIE_ON,      IDC_INACTIVE_OFF,
                         IDC_LOADING_ALL};
    for (int id : shown) EXPECT_EQ(Checked(GroupOf(id)), id) << id;
    EXPECT_EQ(SliderPosition(IDC_BGM_VOLUME), 8400);
    EXPECT_EQ(SliderPosition(IDC_SE_VOLUME), 8400);
    EXPECT_EQ(SliderPosition(IDC_VOICE_VOLUME), 10000);

    // Saved: the initial settings, with extra_option, the input methods, the key maps
    // and the gaps as the file had them.
    std::vector<std::uint8_t> expected = Hex(
        "00 a1a2a3"
        "00000000 01000000 01000000"
        "00000000 01000000"
        "78563412"
        "c0f9ffff c0f9ffff 00000000"
        "01000000 00000000"
        "0b0a0908070605040302"
        "05050505050505050505"
        "01 b1b2b3"
        "01000000 00000000 03000000");
    std::vector<std::uint8_t> after = SaveAndRead();
    ASSERT_EQ(after.size(), original_.size());
    EXPECT_EQ(Slice(after, kOptionsAt, config_layout::kOptionsBytes), expected);
    // Nothing outside the option block moved.
    const std::size_t block_end = kOptionsAt + config_layout::kOptionsBytes;
    EXPECT_EQ(Slice(after, block_end, after.size() - block_end),
              Slice(original_, block_end, original_.size() - block_end));
}

TEST_F(OptionsFileTest, ResetAloneChangesTheRecordNotTheFile) {
    Click(kOptionsPage, IDC_RESET);
    EXPECT_EQ(game_config.options.screen_size, 0);
    EXPECT_EQ(game_config.options.extra_option, 0x12345678);
    EXPECT_EQ(game_config.options.input_method[0], 1);
    EXPECT_EQ(game_config.options.key_map[0][0], 11);
    EXPECT_EQ(folder_->ReadConfig(), original_);
    Click(kOptionsPage, IDC_EXIT);
    PumpMessages();
    EXPECT_EQ(folder_->ReadConfig(), original_);
}

// The template: every control where the layout puts it, with its caption and styles.
constexpr LONG kRadio = BS_AUTORADIOBUTTON;
constexpr LONG kFirst = BS_AUTORADIOBUTTON | WS_GROUP;
constexpr LONG kNoStop = WS_TABSTOP;
constexpr LONG kNoStopNoGroup = WS_TABSTOP | WS_GROUP;
constexpr LONG kSlider = TBS_NOTICKS | TBS_BOTH | WS_TABSTOP;

const PlacedControl kOptionsLayout[] = {
    {-1, "Button", "画面サイズ", {11, 18, 184, 20}, BS_GROUPBOX, 0},
    {IDC_SCREEN_640, "Button", "640×480", {15, 26, 45, 10}, kFirst, kNoStop},
    {IDC_SCREEN_800, "Button", "800×600", {75, 26, 45, 10}, kRadio, kNoStopNoGroup},
    {IDC_SCREEN_1024, "Button", "1024×768", {135, 26, 49, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "フルスクリーン", {11, 38, 184, 20}, BS_GROUPBOX, 0},
    {IDC_FULL_SCREEN_ON, "Button", "ON", {15, 46, 26, 10}, kFirst, kNoStop},
    {IDC_FULL_SCREEN_OFF, "Button", "OFF", {56, 46, 29, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "FPS", {11, 58, 184, 20}, BS_GROUPBOX, 0},
    {IDC_FPS_60, "Button", "60", {15, 66, 24, 10}, kFirst, kNoStop},
    {IDC_FPS_30, "Button", "30", {56, 66, 24, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "ステージバリア", {11, 78, 184, 20}, BS_GROUPBOX, 0},
    {IDC_BARRIER_NEAR, "Button", "キャラ周囲", {15, 86, 49, 10}, kFirst, kNoStop},
    {IDC_BARRIER_ALWAYS, "Button", "常時表示", {75, 86, 48, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "負荷を軽減", {11, 98, 184, 20}, BS_GROUPBOX, 0},
    {IDC_REDUCE_LOAD_ON, "Button", "ON", {15, 106, 26, 10}, kFirst, kNoStop},
    {IDC_REDUCE_LOAD_OFF, "Button", "OFF", {56, 106, 29, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "画面振動", {11, 118, 184, 20}, BS_GROUPBOX, 0},
    {IDC_SHAKE_ON, "Button", "ON", {15, 126, 26, 10}, kFirst, kNoStop},
    {IDC_SHAKE_OFF, "Button", "OFF", {56, 126, 29, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "音量", {11, 138, 184, 46}, BS_GROUPBOX, 0},
    {-1, "Static", "BGM", {15, 147, 15, 8}, 0, 0},
    {-1, "Static", "SE", {15, 159, 9, 8}, 0, 0},
    {-1, "Static", "VOICE", {15, 171, 22, 8}, 0, 0},
    {IDC_BGM_VOLUME, "msctls_trackbar32", "", {39, 146, 149, 12}, kSlider, TBS_VERT},
    {IDC_SE_VOLUME, "msctls_trackbar32", "", {39, 158, 149, 12}, kSlider, TBS_VERT},
    {IDC_VOICE_VOLUME, "msctls_trackbar32", "", {39, 170, 149, 12}, kSlider, TBS_VERT},
    {-1, "Button", "ストーリー難度", {11, 184, 184, 20}, BS_GROUPBOX, 0},
    {IDC_DIFFICULTY_EASY, "Button", "Easy", {15, 192, 31, 10}, kFirst, kNoStop},
    {IDC_DIFFICULTY_NORMAL, "Button", "Normal", {56, 192, 38, 10}, kRadio, kNoStopNoGroup},
    {IDC_DIFFICULTY_HARD, "Button", "Hard", {104, 192, 31, 10}, kRadio, kNoStopNoGroup},
    {IDC_DIFFICULTY_NIGHTMARE, "Button", "Nightmare", {145, 192, 49, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "ムービー再生", {11, 204, 184, 20}, BS_GROUPBOX, 0},
    {IDC_MOVIE_ON, "Button", "ON", {15, 212, 26, 10}, kFirst, kNoStop},
    {IDC_MOVIE_OFF, "Button", "OFF", {56, 212, 29, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "非アクティブ動作", {11, 224, 184, 20}, BS_GROUPBOX, 0},
    {IDC_INACTIVE_ON, "Button", "ON", {15, 232, 26, 10}, kFirst, kNoStop},
    {IDC_INACTIVE_OFF, "Button", "OFF", {56, 232, 29, 10}, kRadio, kNoStopNoGroup},
    {-1, "Button", "ローディングイラスト", {11, 244, 184, 20}, BS_GROUPBOX, 0},
    {IDC_LOADING_DEFAULT, "Button", "デフォルト", {15, 252, 45, 10}, kFirst, kNoStop},
    {IDC_LOADING_ILLUST, "Button", "イラスト", {75, 252, 45, 10}, kRadio, kNoStopNoGroup},
    {IDC_LOADING_ALL, "Button", "全部", {135, 252, 45, 10}, kRadio, kNoStopNoGroup},
    {IDC_RESET, "Button", "初期設定に戻す", {133, 264, 62, 14}, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

TEST_F(OptionsPageTest, TemplatePlacesEveryControlWithItsCaptionAndStyle) {
    ExpectLayout(page(), kOptionsLayout, std::size(kOptionsLayout));
}
