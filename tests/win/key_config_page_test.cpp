// The key configuration page driven in-process: live captures from scripted controllers
// with a counting sleep in place of the real one, the live view of held buttons and of
// the controller's name, the player and input-method radio buttons, the reset, and what
// reaches the file.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "message/error_message.h"
#include "config/game_config.h"
#include "input/input.h"
#include "input/input_state.h"
#include "layout_check.h"
#include "support/config_layout.h"
#include "ui/key_config_page_win.h"
#include "ui/language_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "win/fake_dinput.h"
#include "window_fixture.h"

using testing_support::FakeDevice;
using testing_support::FakeDirectInput;
using testing_support::FakeInputSystem;

namespace {

using Labels = std::vector<std::string>;

const char kNoJoypad[] = "ジョイパッドが接続されていません";
const char kChanging[] = "変更中";
const wchar_t kNoJoypadName[] = L"ジョイパッド未接続";
constexpr KeyMap kIdentity = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
// Rows show slots 3, 0, 1, 2, 4, 5, 7, 6, 9 from the top.
const Labels kIdentityLabels = {"KEY 4", "KEY 1", "KEY 2", "KEY 3", "KEY 5",
                                "KEY 6", "KEY 8", "KEY 7", "KEY 10"};

// What the capture did while it waited, seen from the sleep it calls.
struct CaptureWatch {
    HWND label = nullptr;                  // the label of the row being captured
    int sleeps = 0;
    std::vector<DWORD> odd_sleeps;         // any sleep that was not 16 ms
    std::vector<std::string> label_texts;  // the label's text at each sleep, deduplicated
    int unpainted = 0;                     // times the label still had a paint pending
};
CaptureWatch watch;

std::string WindowText(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void CountingSleep(DWORD milliseconds) {
    ++watch.sleeps;
    if (milliseconds != kCapturePollPeriodMs) watch.odd_sleeps.push_back(milliseconds);
    std::string text = WindowText(watch.label);
    if (watch.label_texts.empty() || watch.label_texts.back() != text) watch.label_texts.push_back(text);
    if (GetUpdateRect(watch.label, nullptr, FALSE)) ++watch.unpainted;
}

// The pixels of a window's rectangle as the display shows them: read back through the
// screen's device context, not from the window's own drawing.
std::vector<std::uint32_t> ScreenPixels(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + width * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A sleep that really waits and then looks at the label on the display.
std::vector<std::vector<std::uint32_t>> screen_frames;
void SleepAndLookAtTheScreen(DWORD milliseconds) {
    Sleep(milliseconds);
    CountingSleep(milliseconds);
    screen_frames.push_back(ScreenPixels(watch.label));
}

// A message sink that notes the nine labels' texts at the moment a message is shown,
// then hands the message on to the recorder.
std::vector<HWND> labels_to_note;
std::vector<Labels> labels_at_message;
ErrorMessageSink recorder_sink = nullptr;
void NoteLabelsAndRecord(const char* text) {
    Labels labels;
    for (HWND label : labels_to_note) labels.push_back(WindowText(label));
    labels_at_message.push_back(labels);
    recorder_sink(text);
}

class KeyConfigPageTest : public WindowFixture {
protected:
    void SetUp() override {
        current_player = 0;  // as at every start of the program
        watch = {};
        input_.emplace();    // start-up opens the fakes: keyboard, mouse, no controller
        WindowFixture::SetUp();
        SetCaptureSleep(CountingSleep);
        // In the background unless a test activates the window, so that only the
        // capture reads the controllers.
        Activate(WA_INACTIVE);
        SelectTab(kKeyConfigPage);
    }
    void TearDown() override {
        SetCaptureSleep(nullptr);
        WindowFixture::TearDown();
        input_.reset();
    }

    // Restarts the input layer with `count` controllers attached; returns their devices.
    std::vector<FakeDevice*> AttachJoysticks(int count) {
        input_.emplace();
        std::vector<FakeDevice*> devices;
        for (int i = 0; i < count; ++i) devices.push_back(&input_->AddJoystick());
        EXPECT_TRUE(input_->Init(main_window));
        return devices;
    }

    HWND Label(int row) const { return Control(kKeyConfigPage, key_label_ids[row]); }
    Labels RowLabels() const {
        Labels labels;
        for (int row = 0; row < kKeyRows; ++row) labels.push_back(WindowText(Label(row)));
        return labels;
    }
    bool Checked(int id) const { return IsDlgButtonChecked(Page(kKeyConfigPage), id) == BST_CHECKED; }

    // What the main window hears when it gains or loses the foreground.
    void Activate(WORD state, bool minimised = false) {
        SendMessageW(main_window, WM_ACTIVATE, MAKEWPARAM(state, minimised ? 1 : 0), 0);
    }
    // One poll of the live view, as its timer gives it.
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) SendMessageW(Page(kKeyConfigPage), WM_TIMER, kLiveTimerId, 0);
    }
    // The rows whose label the page draws highlighted, asked as the label asks when it paints.
    std::vector<int> LitRows() const {
        std::vector<int> rows;
        HDC dc = CreateCompatibleDC(nullptr);
        for (int row = 0; row < kKeyRows; ++row) {
            const LRESULT brush = SendMessageW(Page(kKeyConfigPage), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(Label(row)));
            if (brush == reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT))) rows.push_back(row);
        }
        DeleteDC(dc);
        return rows;
    }
    // What Windows sends the main window when a device comes or goes: the broadcast, or
    // an arrival or removal with a record of `device_type`.
    void Notice(WPARAM event = DBT_DEVNODES_CHANGED, DWORD device_type = DBT_DEVTYP_DEVICEINTERFACE) {
        DEV_BROADCAST_DEVICEINTERFACE_W record = {};
        record.dbcc_size = sizeof record;
        record.dbcc_devicetype = device_type;
        const LPARAM data = event == DBT_DEVNODES_CHANGED ? 0 : reinterpret_cast<LPARAM>(&record);
        SendMessageW(main_window, WM_DEVICECHANGE, event, data);
    }
    // The notices settle: the tick of the timer that waits for them.
    void Settle() { SendMessageW(Page(kKeyConfigPage), WM_TIMER, kDeviceSettleTimerId, 0); }
    // Whether the page has the timer, asked of the system (and the timer left as it was).
    bool HasTimer(UINT_PTR id) const {
        if (!KillTimer(Page(kKeyConfigPage), id)) return false;
        SetTimer(Page(kKeyConfigPage), id, id == kLiveTimerId ? kCapturePollPeriodMs : kDeviceSettleMs, nullptr);
        return true;
    }
    FakeDirectInput& DirectInput() { return input_->direct_input; }
    std::string HeldLine() const { return WindowText(Control(kKeyConfigPage, IDC_HELD_KEYS)); }
    std::wstring NameLine() const { return Text(Control(kKeyConfigPage, IDC_JOYPAD_NAME)); }

    void ClickChange(int row) {
        watch.label = Label(row);
        Click(kKeyConfigPage, key_button_ids[row]);
    }

    std::optional<FakeInputSystem> input_;
};

TEST_F(KeyConfigPageTest, StartUpShowsPlayerOneWithTheStoredButtons) {
    EXPECT_TRUE(Checked(IDC_PLAYER_1));
    EXPECT_FALSE(Checked(IDC_PLAYER_2));
    EXPECT_TRUE(Checked(IDC_METHOD_JOYPAD));
    EXPECT_FALSE(Checked(IDC_METHOD_KEYBOARD));
    EXPECT_EQ(RowLabels(), kIdentityLabels);
}

// The template, written out from the page's layout in dialog units.
TEST_F(KeyConfigPageTest, TemplatePlacesEveryControlWithItsCaptionAndStyle) {
    constexpr LONG kRadio = BS_AUTORADIOBUTTON;
    constexpr LONG kFirst = BS_AUTORADIOBUTTON | WS_GROUP;
    constexpr LONG kPush = BS_PUSHBUTTON | WS_TABSTOP;
    constexpr LONG kLine = SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX;
    std::vector<PlacedControl> placed = {
        {-1, "Button", "プレイヤー", {11, 18, 184, 20}, BS_GROUPBOX, 0},
        {IDC_PLAYER_1, "Button", "1P", {15, 26, 24, 10}, kFirst, WS_TABSTOP},
        {IDC_PLAYER_2, "Button", "2P", {75, 26, 24, 10}, kRadio, WS_TABSTOP | WS_GROUP},
        {-1, "Button", "操作方法", {11, 38, 184, 20}, BS_GROUPBOX, 0},
        {IDC_METHOD_KEYBOARD, "Button", "キーボード", {15, 46, 49, 10}, kFirst, WS_TABSTOP},
        {IDC_METHOD_JOYPAD, "Button", "ジョイパッド", {75, 46, 50, 10}, kRadio, WS_TABSTOP | WS_GROUP},
        {-1, "Button", "操作キー", {11, 58, 184, 222}, BS_GROUPBOX, 0},
        {IDC_RESET, "Button", "初期設定に戻す", {128, 262, 62, 14}, kPush, 0},
        // Below the rows, left of the reset: the controller read, and the held line.
        {IDC_JOYPAD_NAME, "Static", "ジョイパッド未接続", {15, 259, 108, 8}, kLine, 0},
        {IDC_HELD_KEYS, "Static", "", {15, 269, 108, 8}, kLine, 0},
    };
    const std::pair<const char*, LONG> captions[kKeyRows] = {
        {"攻撃・魔力技１", 50}, {"魔力弾・魔力技２/決定", 78}, {"ガード・魔力技３/キャンセル", 88},
        {"ダッシュ", 24},       {"魔力溜め・魔力技トリガー", 83}, {"ターゲット変更", 46},
        {"上昇", 17},           {"下降", 17},                      {"メニュー", 24},
    };
    for (int row = 0; row < kKeyRows; ++row) {
        const LONG top = 66 + 22 * row;
        placed.push_back({-1, "Static", captions[row].first, {15, top + 4, captions[row].second, 8}, 0, 0});
        placed.push_back({IDC_KEY_LABEL_1 + row, "Static", kIdentityLabels[row].c_str(), {120, top + 4, 25, 8}, 0, 0});
        placed.push_back({IDC_KEY_CHANGE_1 + row, "Button", "変更", {148, top, 42, 14}, kPush, 0});
    }
    ExpectLayout(Page(kKeyConfigPage), placed.data(), placed.size());
}

TEST_F(KeyConfigPageTest, WithoutAControllerTheChangeButtonOnlyTellsSo) {
    labels_to_note.clear();
    for (int row = 0; row < kKeyRows; ++row) labels_to_note.push_back(Label(row));
    labels_at_message.clear();
    recorder_sink = SetErrorMessageSink(NoteLabelsAndRecord);
    for (int row : {0, 8}) {
        ClickChange(row);
        EXPECT_EQ(watch.sleeps, 0);
        EXPECT_EQ(RowLabels(), kIdentityLabels);
    }
    SetErrorMessageSink(recorder_sink);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kNoJoypad, kNoJoypad}));
    // While the message was up, no label said "変更中" or anything else new.
    EXPECT_EQ(labels_at_message, (std::vector<Labels>{kIdentityLabels, kIdentityLabels}));
    EXPECT_EQ(game_config.options.key_map[0], kIdentity);
}

struct CaptureCase {
    const char* name;
    int row;
    std::vector<std::pair<int, int>> presses;  // button, first poll it is down at (then held)
    bool high_buttons_held;                    // buttons 12 to 127 down at every poll
    int polls;                                 // reads of the controller the capture made
    int sleeps;
    KeyMap map;                                // player 1's map afterwards
    Labels labels;
    std::vector<std::pair<int, int>> escape = {};  // first and last poll Escape is down at
    int pulled_out_at = 0;                         // the read at which the controller is gone; 0: never
};

bool EscapeDownAt(const CaptureCase& c, int poll) {
    for (auto [first, last] : c.escape) {
        if (poll >= first && poll <= last) return true;
    }
    return false;
}

void PrintTo(const CaptureCase& c, std::ostream* os) { *os << c.name; }

const CaptureCase kCaptureCases[] = {
    {"button 3 at poll 5 goes to row 1, slot 3 takes the old button", 1, {{3, 5}}, false, 5, 4,
     {3, 1, 2, 0, 4, 5, 6, 7, 8, 9},
     {"KEY 1", "KEY 4", "KEY 2", "KEY 3", "KEY 5", "KEY 6", "KEY 8", "KEY 7", "KEY 10"}},
    {"buttons 5 and 2 together give 2", 0, {{5, 3}, {2, 3}}, false, 3, 2,
     {0, 1, 3, 2, 4, 5, 6, 7, 8, 9},
     {"KEY 3", "KEY 1", "KEY 2", "KEY 4", "KEY 5", "KEY 6", "KEY 8", "KEY 7", "KEY 10"}},
    {"buttons 12 and above are passed over", 8, {{7, 10}}, true, 10, 9,
     {0, 1, 2, 3, 4, 5, 6, 9, 8, 7},
     {"KEY 4", "KEY 1", "KEY 2", "KEY 3", "KEY 5", "KEY 6", "KEY 10", "KEY 7", "KEY 8"}},
    {"a button already held is taken at the first poll", 2, {{11, 1}}, false, 1, 0,
     {0, 11, 2, 3, 4, 5, 6, 7, 8, 9},
     {"KEY 4", "KEY 1", "KEY 12", "KEY 3", "KEY 5", "KEY 6", "KEY 8", "KEY 7", "KEY 10"}},
    {"a press at the last poll counts, the hidden slot 8 swaps", 8, {{8, 375}}, false, 375, 374,
     {0, 1, 2, 3, 4, 5, 6, 7, 9, 8},
     {"KEY 4", "KEY 1", "KEY 2", "KEY 3", "KEY 5", "KEY 6", "KEY 8", "KEY 7", "KEY 9"}},
    {"nothing within 375 polls leaves the map and puts the label back", 4, {{0, 376}}, true, 375, 375,
     kIdentity, kIdentityLabels},
    {"Escape pressed during the wait ends it at that poll", 3, {{3, 10}}, false, 4, 3, kIdentity, kIdentityLabels,
     {{4, 4}}},
    {"Escape wins over a button at the same poll", 2, {{7, 3}}, false, 3, 2, kIdentity, kIdentityLabels, {{3, 5}}},
    {"Escape held from before is passed over", 1, {{3, 6}}, false, 6, 5, {3, 1, 2, 0, 4, 5, 6, 7, 8, 9},
     {"KEY 1", "KEY 4", "KEY 2", "KEY 3", "KEY 5", "KEY 6", "KEY 8", "KEY 7", "KEY 10"}, {{1, 375}}},
    {"Escape let go and pressed again ends it", 0, {{3, 9}}, false, 5, 4, kIdentity, kIdentityLabels,
     {{1, 2}, {5, 5}}},
    {"pulled out unnoticed before the click: the first read tells", 0, {{3, 1}}, false, 1, 0, kIdentity,
     kIdentityLabels, {}, 1},
    {"pulled out during the wait ends it at that read", 0, {{3, 9}}, false, 4, 3, kIdentity, kIdentityLabels, {}, 4},
};

class CaptureCases : public KeyConfigPageTest, public testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureCases, TakeTheLowestButtonHeldAtAPoll) {
    const CaptureCase& c = GetParam();
    FakeDevice& joystick = *AttachJoysticks(1)[0];
    if (c.high_buttons_held) {
        for (int button = 12; button < 128; ++button) joystick.joystick.rgbButtons[button] = 0x80;
    }
    if (c.pulled_out_at != 0) {
        joystick.script = [this, at = c.pulled_out_at](FakeDevice&, int read) {
            if (read == at) DirectInput().controllers[0].attached = false;
            return DI_OK;
        };
    }
    for (auto [button, first] : c.presses) joystick.PressButtonFrom(button, first);
    // The capture's polls are the keyboard's only reads.
    input_->direct_input.keyboard.script = [&c](FakeDevice& keyboard, int read) {
        keyboard.keys[kKeyEscape] = EscapeDownAt(c, read) ? 0x80 : 0x00;
        return DI_OK;
    };

    ClickChange(c.row);

    EXPECT_EQ(joystick.reads, c.polls);
    EXPECT_EQ(watch.sleeps, c.sleeps);
    EXPECT_TRUE(watch.odd_sleeps.empty());
    // Every sleep found the label saying so, already painted.
    EXPECT_EQ(watch.label_texts, c.sleeps > 0 ? std::vector<std::string>{kChanging} : std::vector<std::string>{});
    EXPECT_EQ(watch.unpainted, 0);
    EXPECT_EQ(game_config.options.key_map[0], c.map);
    EXPECT_EQ(game_config.options.key_map[1], kIdentity);
    EXPECT_EQ(RowLabels(), c.labels);
    // A controller gone is told as a Change without one is, once the label is back.
    const bool gone = c.pulled_out_at != 0;
    EXPECT_EQ(Messages(), std::vector<std::string>(gone ? 1 : 0, kNoJoypad));
    EXPECT_EQ(NameLine(), gone ? kNoJoypadName : L"Fake Pad");
    EXPECT_EQ(DirectInput().device_status_calls, gone ? 1 : 0);
    EXPECT_EQ(DirectInput().enum_devices_calls, 1);
}

INSTANTIATE_TEST_SUITE_P(KeyConfigPage, CaptureCases, testing::ValuesIn(kCaptureCases));

TEST_F(KeyConfigPageTest, AControllerCountedButNotOpenedEndsTheCaptureByTheBudget) {
    input_.emplace();
    FakeDevice& joystick = input_->AddJoystick();
    joystick.set_data_format_result = DIERR_INVALIDPARAM;
    joystick.PressButtonFrom(0, 1);
    ASSERT_TRUE(input_->Init(main_window));
    recorder_->Clear();

    ClickChange(0);

    EXPECT_EQ(joystick.reads, 0);
    EXPECT_EQ(watch.sleeps, 375);
    EXPECT_EQ(game_config.options.key_map[0], kIdentity);
    EXPECT_EQ(RowLabels(), kIdentityLabels);
    EXPECT_TRUE(Messages().empty());
    // It was counted, so the press did not look for controllers again.
    EXPECT_EQ(input_->direct_input.enum_devices_calls, 1);
    EXPECT_EQ(joystick.release_calls, 1);
}

// No controller was counted at start-up; by the time a change button is pressed some may
// have been plugged in. Each press that finds none counted enumerates once more.
TEST_F(KeyConfigPageTest, AControllerPluggedInAfterStartUpIsLookedForOncePerPress) {
    struct Row {
        const char* name;
        bool direct_input;  // the DirectInput object came up at start-up
        int attached;       // controllers plugged in after start-up
        UINT slots;         // joyGetNumDevs
        int clicks;
        int enumerations;   // EnumDevices calls in all, start-up's included
        int count;          // JoystickCount afterwards
    };
    const Row rows[] = {
        {"one plugged in takes the press", true, 1, 16, 1, 2, 1},
        {"none at either time: one more look per press", true, 0, 16, 2, 3, 0},
        {"the start-up limit still holds", true, 3, 2, 1, 2, 2},
        {"without DirectInput nothing is enumerated", false, 1, 16, 1, 0, 0},
    };
    const Labels swapped = {"KEY 1", "KEY 4", "KEY 2", "KEY 3", "KEY 5", "KEY 6", "KEY 8", "KEY 7", "KEY 10"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        game_config.options.key_map[0] = kIdentity;
        PopulatePage(kKeyConfigPage);
        input_.emplace();
        input_->joystick_slots = row.slots;
        if (!row.direct_input) input_->create_result = DIERR_OLDDIRECTINPUTVERSION;
        EXPECT_EQ(input_->Init(main_window), row.direct_input);
        recorder_->Clear();
        for (int i = 0; i < row.attached; ++i) input_->AddJoystick();
        if (row.attached > 0) input_->Joystick(0).PressButtonFrom(3, 2);

        for (int click = 0; click < row.clicks; ++click) ClickChange(1);

        EXPECT_EQ(input_->direct_input.enum_devices_calls, row.enumerations);
        EXPECT_EQ(JoystickCount(), row.count);
        const bool taken = row.count > 0;
        EXPECT_EQ(Messages(), std::vector<std::string>(taken ? 0 : row.clicks, kNoJoypad));
        EXPECT_EQ(RowLabels(), taken ? swapped : kIdentityLabels);
        if (taken) {
            // Set up as at start-up, and given its pad.
            EXPECT_EQ(input_->Joystick(0).cooperative_window, main_window);
            EXPECT_EQ(input_->Joystick(0).acquire_calls, 1);
            EXPECT_EQ(pad_count, row.count + 1);
        }
    }
}

// Nothing dispatches WM_PAINT during the wait, and under Wine a window's drawing reaches
// the display only once the thread has gone 50 ms without reading messages and paints
// again. Compared with the label showing "変更中" at rest, read back the same way.
TEST_F(KeyConfigPageTest, ChangingIsOnTheDisplayDuringTheWait) {
    FakeDevice& joystick = *AttachJoysticks(1)[0];
    joystick.PressButtonFrom(4, 12);
    PumpMessages();
    const std::vector<std::uint32_t> before = ScreenPixels(Label(5));
    screen_frames.clear();
    SetCaptureSleep(SleepAndLookAtTheScreen);

    ClickChange(5);

    ASSERT_EQ(watch.sleeps, 11);  // 176 ms or more of real time
    EXPECT_EQ(watch.label_texts, std::vector<std::string>{kChanging});
    SetWindowTextA(Label(5), kChanging);
    PumpMessages();
    const std::vector<std::uint32_t> at_rest = ScreenPixels(Label(5));
    ASSERT_NE(at_rest, before) << "the display shows no difference between the two texts";
    for (int sleep = 7; sleep <= 11; ++sleep) {
        EXPECT_TRUE(screen_frames[sleep - 1] == at_rest) << "not on the display at sleep " << sleep;
    }
}

// While the page is shown and the window active, each poll highlights the labels of the
// held buttons and names on the held line those a capture would take that no row shows.
TEST_F(KeyConfigPageTest, LiveViewHighlightsTheLabelsOfHeldButtons) {
    struct Row {
        const char* name;
        std::uint8_t player;
        KeyMap map;
        std::vector<int> held;  // buttons of the first controller
        std::vector<int> lit;   // rows
        const char* line;
    };
    const KeyMap from_file = {0, 1, 2, 20, 4, 5, 6, 7, 8, 9};  // row 0 shows KEY 21
    const Row rows[] = {
        {"nothing held", 0, kIdentity, {}, {}, ""},
        {"button 3 lights row 0, which shows KEY 4", 0, kIdentity, {3}, {0}, ""},
        {"two buttons, two rows", 0, kIdentity, {0, 9}, {1, 8}, ""},
        {"the hidden slot's button goes to the line", 0, kIdentity, {8}, {}, "押下中: KEY 9"},
        {"buttons no slot holds too, in order", 0, kIdentity, {11, 8, 10, 2}, {3}, "押下中: KEY 9, 11, 12"},
        {"a button a capture never takes shows nowhere", 0, kIdentity, {12, 40}, {}, ""},
        {"a stored 20 lights while button 20 is held", 0, from_file, {20}, {0}, ""},
        {"button 3, shown by no row any more, goes to the line", 0, from_file, {3}, {}, "押下中: KEY 4"},
        {"player 2's rows, from the first controller", 1, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, {6, 0}, {0, 8}, ""},
    };
    FakeDevice& joystick = *AttachJoysticks(2)[0];
    Activate(WA_ACTIVE);
    ASSERT_TRUE(KeyPageLiveViewRunning());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        game_config.options.key_map[row.player] = row.map;
        Click(kKeyConfigPage, row.player == 0 ? IDC_PLAYER_1 : IDC_PLAYER_2);
        PopulatePage(kKeyConfigPage);
        for (int button : row.held) joystick.joystick.rgbButtons[button] = 0x80;
        Tick();
        EXPECT_EQ(LitRows(), row.lit);
        EXPECT_EQ(HeldLine(), row.line);
        // Let go: nothing shows as held at the next poll.
        for (int button : row.held) joystick.joystick.rgbButtons[button] = 0;
        Tick();
        EXPECT_EQ(LitRows(), std::vector<int>{});
        EXPECT_EQ(HeldLine(), "");
    }
    EXPECT_TRUE(Messages().empty());
}

// Polling runs only while page 4 is shown in an active window: elsewhere there is no
// timer at all and the controller is not read.
TEST_F(KeyConfigPageTest, LiveViewPollsOnlyOnItsPageInTheForeground) {
    struct Row {
        const char* name;
        int page;
        WORD activation;
        bool minimised;
        bool polls;
    };
    const Row rows[] = {
        {"shown and active", kKeyConfigPage, WA_ACTIVE, false, true},
        {"another page shown", kOptionsPage, WA_ACTIVE, false, false},
        {"the window in the background", kKeyConfigPage, WA_INACTIVE, false, false},
        {"active but minimised", kKeyConfigPage, WA_ACTIVE, true, false},
        {"clicked back into the foreground", kKeyConfigPage, WA_CLICKACTIVE, false, true},
        {"the message page", kMessagePage, WA_ACTIVE, false, false},
    };
    FakeDevice& joystick = *AttachJoysticks(1)[0];
    joystick.joystick.rgbButtons[3] = 0x80;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SelectTab(row.page);
        Activate(row.activation, row.minimised);
        const int reads = joystick.reads;
        Tick(3);
        EXPECT_EQ(KeyPageLiveViewRunning(), row.polls);
        EXPECT_EQ(joystick.reads - reads, row.polls ? 3 : 0);
        EXPECT_EQ(LitRows(), row.polls ? std::vector<int>{0} : std::vector<int>{});
        EXPECT_EQ(HasTimer(kLiveTimerId), row.polls);
    }
}

// The capture stops the view and polls on its own; afterwards the view goes on.
std::vector<bool> running_at_sleeps;
void SleepNotingTheLiveView(DWORD milliseconds) {
    running_at_sleeps.push_back(KeyPageLiveViewRunning());
    CountingSleep(milliseconds);
}

TEST_F(KeyConfigPageTest, ACaptureStillTakesTheLowestHeldButtonWhileTheViewRuns) {
    FakeDevice& joystick = *AttachJoysticks(1)[0];
    Activate(WA_ACTIVE);
    joystick.joystick.rgbButtons[5] = 0x80;
    Tick();
    EXPECT_EQ(LitRows(), std::vector<int>{5});
    const int reads = joystick.reads;
    joystick.PressButtonFrom(2, reads + 3);  // from the capture's third poll, with 5
    joystick.script = [first = reads + 3, previous = joystick.script](FakeDevice& device, int read) {
        const HRESULT result = previous(device, read);
        device.joystick.rgbButtons[5] = read >= first ? 0x80 : 0;
        return result;
    };
    running_at_sleeps.clear();
    SetCaptureSleep(SleepNotingTheLiveView);

    // Clicked without pumping messages after it, so that the view's own polls that
    // follow the capture do not count among its reads.
    watch.label = Label(0);
    SendMessageA(Control(kKeyConfigPage, key_button_ids[0]), BM_CLICK, 0, 0);

    EXPECT_EQ(joystick.reads - reads, 3);
    EXPECT_EQ(running_at_sleeps, (std::vector<bool>{false, false}));
    EXPECT_EQ(watch.label_texts, std::vector<std::string>{kChanging});
    EXPECT_EQ(game_config.options.key_map[0], (KeyMap{0, 1, 3, 2, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(KeyPageLiveViewRunning());
    Tick();
    // Row 0 now shows KEY 3 (button 2) and row 5 KEY 6 (button 5): both held.
    EXPECT_EQ(LitRows(), (std::vector<int>{0, 5}));
}

// Without a controller the page waits on nothing: showing it, the window's activation,
// the box a Change shows and any tick that comes make no enumeration and read no device.
TEST_F(KeyConfigPageTest, WithoutAControllerNothingIsEnumeratedOrRead) {
    auto reads = [this] { return DirectInput().keyboard.reads + DirectInput().mouse.reads; };
    ASSERT_EQ(DirectInput().enum_devices_calls, 1);  // start-up's
    for (WORD activation : {WA_ACTIVE, WA_CLICKACTIVE}) {
        SelectTab(kOptionsPage);
        SelectTab(kKeyConfigPage);
        Activate(WA_INACTIVE);
        Activate(activation);
        Tick(100);
        Settle();
        PumpMessages();
        EXPECT_FALSE(KeyPageLiveViewRunning());
        EXPECT_FALSE(HasTimer(kLiveTimerId));
        EXPECT_FALSE(HasTimer(kDeviceSettleTimerId));
    }
    EXPECT_EQ(DirectInput().enum_devices_calls, 1);
    EXPECT_EQ(reads(), 0);

    // A Change looks once for a controller plugged in since; the window then comes back.
    ClickChange(0);
    Activate(WA_INACTIVE);
    Activate(WA_ACTIVE);
    Tick(10);
    EXPECT_EQ(DirectInput().enum_devices_calls, 2);
    EXPECT_EQ(reads(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{kNoJoypad});
}

// The notices of one plug end in one enumeration once they settle, and the page names
// the controller and starts reading it; notices of no controller's kind are passed over.
TEST_F(KeyConfigPageTest, DeviceNoticesSettleIntoOneEnumeration) {
    struct Row {
        const char* name;
        std::vector<std::pair<WPARAM, DWORD>> notices;  // event, type of device its record names
        int enumerations;
    };
    const Row rows[] = {
        {"the broadcast", {{DBT_DEVNODES_CHANGED, 0}}, 1},
        {"three in a row", {{DBT_DEVNODES_CHANGED, 0}, {DBT_DEVNODES_CHANGED, 0}, {DBT_DEVNODES_CHANGED, 0}}, 1},
        {"a HID arrival and the broadcast",
         {{DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE}, {DBT_DEVNODES_CHANGED, 0}}, 1},
        {"a HID removal alone", {{DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE}}, 1},
        {"a volume's arrival is no controller's", {{DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME}}, 0},
        {"nor is a question about the configuration", {{DBT_QUERYCHANGECONFIG, 0}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Activate(WA_INACTIVE);
        AttachJoysticks(0);
        PopulatePage(kKeyConfigPage);
        input_->AddJoystick().product_name = L"ゲームパッド Pro";
        Activate(WA_ACTIVE);
        ASSERT_FALSE(KeyPageLiveViewRunning());

        for (auto [event, device_type] : row.notices) Notice(event, device_type);
        // Nothing yet: the notices may not be over.
        EXPECT_EQ(DirectInput().enum_devices_calls, 1);
        EXPECT_EQ(HasTimer(kDeviceSettleTimerId), row.enumerations > 0);
        Settle();
        Settle();

        const bool found = row.enumerations > 0;
        EXPECT_EQ(DirectInput().enum_devices_calls, 1 + row.enumerations);
        EXPECT_EQ(NameLine(), found ? L"ゲームパッド Pro" : kNoJoypadName);
        EXPECT_EQ(KeyPageLiveViewRunning(), found);
        EXPECT_FALSE(HasTimer(kDeviceSettleTimerId));
    }
}

// A notice that settles while another page is shown waits for the key page; neither the
// window's activation nor showing the page again enumerates once more.
TEST_F(KeyConfigPageTest, ANoticeWhileThePageIsHiddenIsFollowedWhenItIsShown) {
    input_->AddJoystick().product_name = L"Arcade Stick";
    Activate(WA_ACTIVE);
    SelectTab(kOptionsPage);
    Notice();
    Notice();
    Settle();
    Activate(WA_INACTIVE);
    Activate(WA_ACTIVE);
    EXPECT_EQ(DirectInput().enum_devices_calls, 1);
    EXPECT_EQ(NameLine(), kNoJoypadName);

    SelectTab(kKeyConfigPage);
    EXPECT_EQ(DirectInput().enum_devices_calls, 2);
    EXPECT_EQ(NameLine(), L"Arcade Stick");
    EXPECT_TRUE(KeyPageLiveViewRunning());
    SelectTab(kOptionsPage);
    SelectTab(kKeyConfigPage);
    EXPECT_EQ(DirectInput().enum_devices_calls, 2);

    // Shown again before the notices settle: the settling does it, once.
    SelectTab(kOptionsPage);
    Notice();
    SelectTab(kKeyConfigPage);
    EXPECT_EQ(DirectInput().enum_devices_calls, 2);
    Settle();
    EXPECT_EQ(DirectInput().enum_devices_calls, 3);
}

// A controller pulled out: the removal notice, or where none comes the next read that
// fails and one status query, lets it go. The name line says so at once, the view stops,
// and a Change reads nothing of it. A read that fails while it stays is not a removal.
TEST_F(KeyConfigPageTest, APulledOutControllerIsLetGoAndNeverReadAgain) {
    struct Row {
        const char* name;
        bool pulled_out;
        bool notice;
        int enumerations;  // after start-up's
        int queries;       // GetDeviceStatus
        int reads;         // of the controller, from the notice or its removal on, in 3 ticks
    };
    const Row rows[] = {
        {"the removal notice", true, true, 1, 0, 0},
        {"no notice: one failed read and one query tell", true, false, 0, 1, 1},
        {"the foreground lost: two reads fail, one query, it stays", false, false, 0, 1, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        recorder_->Clear();
        Activate(WA_INACTIVE);
        FakeDevice& pad = *AttachJoysticks(1)[0];
        PopulatePage(kKeyConfigPage);
        Activate(WA_ACTIVE);
        Tick();
        ASSERT_EQ(NameLine(), L"Fake Pad");
        const int reads = pad.reads;
        if (row.pulled_out) DirectInput().controllers[0].attached = false;
        else pad.FailReadsFrom(reads + 1, reads + 2);
        if (row.notice) {
            Notice(DBT_DEVICEREMOVECOMPLETE);
            Notice();
            Settle();
        }
        Tick(3);

        EXPECT_EQ(DirectInput().enum_devices_calls, 1 + row.enumerations);
        EXPECT_EQ(DirectInput().device_status_calls, row.queries);
        EXPECT_EQ(pad.reads - reads, row.reads);
        EXPECT_EQ(NameLine(), row.pulled_out ? kNoJoypadName : L"Fake Pad");
        EXPECT_EQ(KeyPageLiveViewRunning(), !row.pulled_out);
        if (!row.pulled_out) continue;

        // A Change finds none counted and looks once more, in vain.
        ClickChange(0);
        EXPECT_EQ(DirectInput().enum_devices_calls, 2 + row.enumerations);
        EXPECT_EQ(pad.reads - reads, row.reads);
        EXPECT_EQ(watch.sleeps, 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{kNoJoypad});
        EXPECT_EQ(RowLabels(), kIdentityLabels);
    }
}

// The name line: the first controller's product name, or that none is connected. After
// a notice the first one reported is the first, whatever was before.
TEST_F(KeyConfigPageTest, TheNameFollowsTheFirstController) {
    FakeDevice& first = *AttachJoysticks(1)[0];
    PopulatePage(kKeyConfigPage);
    EXPECT_EQ(NameLine(), L"Fake Pad");

    // Pulled out with a second one plugged in: the second becomes the first.
    FakeDevice& second = input_->AddJoystick();
    second.product_name = L"Arcade Stick";
    DirectInput().controllers[0].attached = false;
    Notice();
    Settle();
    EXPECT_EQ(NameLine(), L"Arcade Stick");
    EXPECT_EQ(first.release_calls, 1);
    Activate(WA_ACTIVE);
    second.joystick.rgbButtons[0] = 0x80;
    Tick();
    EXPECT_EQ(LitRows(), std::vector<int>{1});

    // A device without the wide interface: its name as the enumeration gave it.
    DirectInput().controllers[1].attached = false;
    FakeDevice& narrow = input_->AddJoystick();
    narrow.product_name = L"Pad ツー";
    narrow.wide_interface = false;
    Notice();
    Settle();
    EXPECT_EQ(NameLine(), L"Pad ??");
    EXPECT_EQ(DirectInput().enum_devices_calls, 3);
}

// Both lines in the English face, and back, at the switch of face.
TEST_F(KeyConfigPageTest, TheLinesSpeakTheCurrentFace) {
    SwitchLanguage(Language::kEnglish);
    EXPECT_EQ(NameLine(), L"No joypad connected");
    Activate(WA_ACTIVE);
    FakeDevice& pad = input_->AddJoystick();
    pad.joystick.rgbButtons[10] = 0x80;
    Notice();
    Settle();
    Tick();
    EXPECT_EQ(HeldLine(), "Held: KEY 11");
    SwitchLanguage(Language::kJapanese);
    EXPECT_EQ(HeldLine(), "押下中: KEY 11");
    EXPECT_EQ(NameLine(), L"Fake Pad");
}

TEST_F(KeyConfigPageTest, PlayerTwoShowsItsOwnValuesAndCapturesFromTheFirstController) {
    game_config.options.key_map[1] = {20, 11, 10, 9, 8, 7, 6, 5, 4, 3};
    game_config.options.input_method[1] = 1;
    std::vector<FakeDevice*> joysticks = AttachJoysticks(2);
    joysticks[1]->PressButtonFrom(0, 1);  // the second controller is never read
    joysticks[0]->PressButtonFrom(6, 3);

    Click(kKeyConfigPage, IDC_PLAYER_2);
    EXPECT_EQ(current_player, 1);
    EXPECT_TRUE(Checked(IDC_PLAYER_2));
    EXPECT_FALSE(Checked(IDC_PLAYER_1));
    EXPECT_TRUE(Checked(IDC_METHOD_KEYBOARD));
    EXPECT_FALSE(Checked(IDC_METHOD_JOYPAD));
    EXPECT_EQ(RowLabels(),
              (Labels{"KEY 10", "KEY 21", "KEY 12", "KEY 11", "KEY 9", "KEY 8", "KEY 6", "KEY 7", "KEY 4"}));

    ClickChange(0);  // slot 3 takes button 6; slot 6 takes the old 9
    EXPECT_EQ(joysticks[0]->reads, 3);
    EXPECT_EQ(game_config.options.key_map[1], (KeyMap{20, 11, 10, 6, 8, 7, 9, 5, 4, 3}));
    EXPECT_EQ(game_config.options.key_map[0], kIdentity);
    EXPECT_EQ(RowLabels(),
              (Labels{"KEY 7", "KEY 21", "KEY 12", "KEY 11", "KEY 9", "KEY 8", "KEY 6", "KEY 10", "KEY 4"}));

    Click(kKeyConfigPage, IDC_PLAYER_1);
    EXPECT_EQ(current_player, 0);
    EXPECT_TRUE(Checked(IDC_PLAYER_1));
    EXPECT_TRUE(Checked(IDC_METHOD_JOYPAD));
    EXPECT_EQ(RowLabels(), kIdentityLabels);
}

// Choosing the player already shown, or an input method, writes no label: a marker put
// on the labels stays. Switching players does repopulate, which wipes the marker.
TEST_F(KeyConfigPageTest, SamePlayerAndInputMethodChoicesRepopulateNothing) {
    const char kMarker[] = "marker";
    game_config.options.key_map[1] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    auto mark = [&] {
        for (int row = 0; row < kKeyRows; ++row) SetWindowTextA(Label(row), kMarker);
    };
    const Labels marked(kKeyRows, kMarker);
    for (std::uint8_t player : {0, 1}) {
        SCOPED_TRACE(static_cast<int>(player));
        const int same_player = player == 0 ? IDC_PLAYER_1 : IDC_PLAYER_2;
        mark();
        Click(kKeyConfigPage, same_player);
        EXPECT_EQ(current_player, player);
        EXPECT_EQ(RowLabels(), marked);

        Click(kKeyConfigPage, IDC_METHOD_KEYBOARD);
        EXPECT_EQ(game_config.options.input_method[player], 1);
        EXPECT_EQ(game_config.options.input_method[1 - player], 0);
        EXPECT_EQ(RowLabels(), marked);

        Click(kKeyConfigPage, IDC_METHOD_JOYPAD);
        EXPECT_EQ(game_config.options.input_method[player], 0);
        EXPECT_EQ(RowLabels(), marked);

        if (player == 0) {
            Click(kKeyConfigPage, IDC_PLAYER_2);
            EXPECT_EQ(current_player, 1);
            EXPECT_EQ(RowLabels(),
                      (Labels{"KEY 7", "KEY 10", "KEY 9", "KEY 8", "KEY 6", "KEY 5", "KEY 3", "KEY 4", "KEY 1"}));
        }
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KeyConfigPageTest, ResetRestoresTheCurrentPlayersMapOnly) {
    const KeyMap reversed = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    game_config.options.key_map[0] = reversed;
    game_config.options.key_map[1] = {11, 10, 9, 8, 7, 6, 5, 4, 20, 2};
    game_config.options.input_method[0] = 1;
    game_config.options.input_method[1] = 1;
    Click(kKeyConfigPage, IDC_PLAYER_2);

    // Only the control id counts, whatever notification the command carries.
    SendMessageA(Page(kKeyConfigPage), WM_COMMAND, MAKEWPARAM(IDC_RESET, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(Control(kKeyConfigPage, IDC_RESET)));

    EXPECT_EQ(game_config.options.key_map[1], kIdentity);
    EXPECT_EQ(game_config.options.key_map[0], reversed);
    EXPECT_EQ(game_config.options.input_method[0], 1);
    EXPECT_EQ(game_config.options.input_method[1], 1);
    EXPECT_EQ(RowLabels(), kIdentityLabels);
}

TEST_F(KeyConfigPageTest, KeyboardChoiceReachesTheFileOnlyThroughSave) {
    const std::vector<std::uint8_t> before = folder_->ReadConfig();
    ASSERT_EQ(before.size(), config_layout::kFileBytes);

    Click(kKeyConfigPage, IDC_METHOD_KEYBOARD);
    EXPECT_EQ(game_config.options.input_method[0], 1);
    Click(kKeyConfigPage, IDC_EXIT);
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_EQ(folder_->ReadConfig(), before);
}

TEST_F(KeyConfigPageTest, SaveStoresTheCurrentPlayersInputMethod) {
    std::vector<std::uint8_t> expected = folder_->ReadConfig();
    ASSERT_EQ(expected.size(), config_layout::kFileBytes);
    expected[config_layout::InputMethodAt(1)] = 1;

    Click(kKeyConfigPage, IDC_PLAYER_2);
    Click(kKeyConfigPage, IDC_METHOD_KEYBOARD);
    EXPECT_EQ(game_config.options.input_method[1], 1);
    EXPECT_EQ(game_config.options.input_method[0], 0);
    Click(kKeyConfigPage, IDC_SAVE);
    EXPECT_EQ(folder_->ReadConfig(), expected);
    EXPECT_TRUE(Messages().empty());

    Click(kKeyConfigPage, IDC_METHOD_JOYPAD);
    EXPECT_EQ(game_config.options.input_method[1], 0);
}

}  // namespace

