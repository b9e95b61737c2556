// Polling and the virtual pads over scripted device reads: normalisation of the raw
// states, edges across polls, axis thresholds, mouse bits, empty slots and 17 pads.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "input/input.h"
#include "input/input_state.h"

namespace {

// Raw device states as the platform would deliver them (0x80 = down), and which reads fail.
struct ScriptedDevices {
    bool keyboard_present = true;
    bool keyboard_fails = false;
    std::uint8_t keys[256] = {};
    bool mouse_present = true;
    bool mouse_fails = false;
    MouseStateData mouse = {};
    std::uint8_t joystick_count = 0;
    bool present[kMaxJoysticks] = {};
    bool joystick_fails[kMaxJoysticks] = {};
    JoystickStateData joysticks[kMaxJoysticks] = {};
    int joystick_reads[kMaxJoysticks] = {};
};

ScriptedDevices scripted;

const DeviceReads scripted_reads = {
    [] { return scripted.joystick_count; },
    [](std::uint8_t slot) { return scripted.present[slot]; },
    [](std::uint8_t* keys) {
        if (!scripted.keyboard_present || scripted.keyboard_fails) return false;
        std::memcpy(keys, scripted.keys, 256);
        return true;
    },
    [](MouseStateData* mouse) {
        if (!scripted.mouse_present || scripted.mouse_fails) return false;
        *mouse = scripted.mouse;
        return true;
    },
    [](std::uint8_t slot, JoystickStateData* joystick) {
        ++scripted.joystick_reads[slot];
        if (scripted.joystick_fails[slot]) {
            std::memset(joystick, 0xCC, sizeof *joystick);
            return false;
        }
        *joystick = scripted.joysticks[slot];
        return true;
    },    nullptr,
};

class InputPads : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInputForTesting();
        scripted = ScriptedDevices{};
        SetDeviceReads(&scripted_reads);
    }
    void TearDown() override { ResetInputForTesting(); }

    // Counts `count` joysticks, all present, and sets up the pads.
    static void StartWith(int count) {
        scripted.joystick_count = static_cast<std::uint8_t>(count);
        for (int i = 0; i < count; ++i) scripted.present[i] = true;
        InitPads();
    }
};

struct Edges {
    PadButtons pressed, held, released, not_held;
};

Edges EdgesOf(const VirtualPad& pad) { return {pad.pressed, pad.held, pad.released, pad.not_held}; }

bool operator==(const Edges& a, const Edges& b) {
    return a.pressed == b.pressed && a.held == b.held && a.released == b.released && a.not_held == b.not_held;
}

std::ostream& operator<<(std::ostream& out, const Edges& e) {
    return out << std::hex << "{pressed " << e.pressed << ", held " << e.held << ", released " << e.released
               << ", not_held " << e.not_held << "}";
}

}  // namespace

TEST_F(InputPads, InitPadsGivesPadZeroTheKeyboardAndEveryJoystickTheDefaultMap) {
    StartWith(3);
    EXPECT_EQ(pad_count, 4);
    EXPECT_EQ(pad_is_keyboard[0], 1);
    for (int i = 1; i < kPadCapacity; ++i) EXPECT_EQ(pad_is_keyboard[i], 0) << i;
    for (const auto& map : button_maps) {
        EXPECT_EQ(std::vector<int>(map, map + 10), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
}

TEST_F(InputPads, HeldAcrossThreePollsThenLetGo) {
    struct Row {
        const char* name;
        int pad;
        PadButtons bit;
        void (*set)(bool down);
    };
    const Row rows[] = {
        {"key Z", 0, 0x0010, [](bool down) { scripted.keys[0x2C] = down ? 0x80 : 0; }},
        {"joystick button 9", 1, 0x2000, [](bool down) { scripted.joysticks[0].rgbButtons[9] = down ? 0x80 : 0; }},
        {"joystick up", 1, 0x0001, [](bool down) { scripted.joysticks[0].lY = down ? -1000 : 0; }},
        {"right mouse button", 0, 0x8000, [](bool down) { scripted.mouse.rgbButtons[1] = down ? 0x80 : 0; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        StartWith(1);
        const PadButtons rest = static_cast<PadButtons>(~row.bit);
        row.set(true);
        PollInput();
        EXPECT_EQ(EdgesOf(pads[row.pad]), (Edges{row.bit, row.bit, 0, rest}));
        PollInput();
        EXPECT_EQ(EdgesOf(pads[row.pad]), (Edges{0, row.bit, 0, rest}));
        PollInput();
        EXPECT_EQ(EdgesOf(pads[row.pad]), (Edges{0, row.bit, 0, rest}));
        row.set(false);
        PollInput();
        EXPECT_EQ(EdgesOf(pads[row.pad]), (Edges{0, 0, row.bit, 0xFFFF}));
        PollInput();
        EXPECT_EQ(EdgesOf(pads[row.pad]), (Edges{0, 0, 0, 0xFFFF}));
    }
}

TEST_F(InputPads, NothingHeldLeavesEveryBitNotHeld) {
    StartWith(2);
    PollInput();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(EdgesOf(pads[i]), (Edges{0, 0, 0, 0xFFFF})) << "pad " << i;
}

TEST_F(InputPads, AxesGiveADirectionOnlyStrictlyBeyond800) {
    struct Row {
        std::int32_t x, y;
        PadButtons bits;
    };
    const Row rows[] = {
        {0, 0, 0},           {0, -800, 0},         {0, 800, 0},          {-800, 0, 0},
        {800, 0, 0},         {0, -801, 0x0001},    {0, 801, 0x0002},     {-801, 0, 0x0004},
        {801, 0, 0x0008},    {-1000, -1000, 0x0005}, {1000, 1000, 0x000A}, {-801, 801, 0x0006},
        {801, -801, 0x0009}, {-800, 800, 0},       {2147483647, -2147483647 - 1, 0x0009},
    };
    StartWith(1);
    for (const Row& row : rows) {
        scripted.joysticks[0].lX = row.x;
        scripted.joysticks[0].lY = row.y;
        PollInput();
        EXPECT_EQ(JoystickPadButtons(0), row.bits) << "x " << row.x << ", y " << row.y;
        EXPECT_EQ(pads[1].held, row.bits) << "x " << row.x << ", y " << row.y;
    }
}

TEST_F(InputPads, KeyboardPadReadsItsFourteenKeysBitByBit) {
    const std::uint8_t keys_in_bit_order[14] = {0xC8, 0xD0, 0xCB, 0xCD, 0x2C, 0x2D, 0x2E,
                                                0x1E, 0x1F, 0x20, 0x10, 0x11, 0x12, 0x1C};
    StartWith(0);
    for (int bit = 0; bit < 14; ++bit) {
        std::memset(scripted.keys, 0, sizeof scripted.keys);
        scripted.keys[keys_in_bit_order[bit]] = 0x80;
        PollInput();
        EXPECT_EQ(KeyboardPadButtons(), 1u << bit) << "bit " << bit;
        EXPECT_EQ(pads[0].held, 1u << bit) << "bit " << bit;
    }
    // Every other key leaves the pad alone.
    std::memset(scripted.keys, 0x80, sizeof scripted.keys);
    for (std::uint8_t key : keys_in_bit_order) scripted.keys[key] = 0;
    PollInput();
    EXPECT_EQ(KeyboardPadButtons(), 0);
}

TEST_F(InputPads, KeyStateAnswersForAll256CodesFromTheHighBit) {
    StartWith(0);
    for (int code = 0; code < 256; ++code) scripted.keys[code] = static_cast<std::uint8_t>(code);
    PollInput();
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(KeyState(static_cast<std::uint8_t>(code)), code >= 0x80 ? 1 : 0) << "code " << code;
    }
}

TEST_F(InputPads, JoystickButtonsZeroToNineDriveThePadAndTheRestDoNot) {
    StartWith(1);
    for (int button = 0; button < 128; ++button) {
        scripted.joysticks[0] = JoystickStateData{};
        scripted.joysticks[0].rgbButtons[button] = 0x80;
        PollInput();
        const PadButtons expected = button < 10 ? static_cast<PadButtons>(0x10 << button) : 0;
        EXPECT_EQ(JoystickPadButtons(0), expected) << "button " << button;
        EXPECT_EQ(JoystickButton(0, static_cast<std::uint8_t>(button)), 1) << "button " << button;
    }
    // Only the high bit counts.
    scripted.joysticks[0] = JoystickStateData{};
    scripted.joysticks[0].rgbButtons[0] = 0x7F;
    PollInput();
    EXPECT_EQ(JoystickButton(0, 0), 0);
}

TEST_F(InputPads, BothMouseButtonsReachEveryPad) {
    StartWith(3);
    scripted.mouse.rgbButtons[0] = 0x80;
    scripted.mouse.rgbButtons[1] = 0x80;
    scripted.present[1] = false;
    PollInput();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pads[i].held, 0xC000) << "pad " << i;
    EXPECT_EQ(KeyboardPadButtons(), 0);  // the pad queries carry no mouse bits
    EXPECT_EQ(JoystickPadButtons(0), 0);
}

TEST_F(InputPads, WithoutJoysticksOnlyPadZeroChanges) {
    StartWith(0);
    EXPECT_EQ(pad_count, 1);
    scripted.mouse.rgbButtons[0] = 0x80;
    scripted.keys[0xC8] = 0x80;
    PollInput();
    EXPECT_EQ(pads[0].held, 0x4001);
    for (int i = 1; i < kPadCapacity; ++i) EXPECT_EQ(EdgesOf(pads[i]), (Edges{0, 0, 0, 0})) << "pad " << i;
}

TEST_F(InputPads, EmptySlotAmongThreeKeepsItsIndexAndHoldsOnlyMouseBits) {
    StartWith(3);
    scripted.present[1] = false;
    for (auto& joystick : scripted.joysticks) {
        joystick.lX = 1000;
        for (int b = 0; b < 128; ++b) joystick.rgbButtons[b] = 0x80;
    }
    scripted.mouse.rgbButtons[0] = 0x80;
    PollInput();

    EXPECT_EQ(pads[1].held, 0x7FF8);
    EXPECT_EQ(pads[2].held, 0x4000);
    EXPECT_EQ(pads[3].held, 0x7FF8);
    EXPECT_EQ(std::vector<int>({pads[1].joystick_index, pads[2].joystick_index, pads[3].joystick_index}),
              (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(scripted.joystick_reads[1], 0);  // an empty slot is never read
    EXPECT_EQ(JoystickState(1), nullptr);
    EXPECT_EQ(JoystickPadButtons(1), 0);
    for (int b = 0; b < 128; ++b) EXPECT_EQ(JoystickButton(1, static_cast<std::uint8_t>(b)), 0) << b;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&joystick_states[1]);
    EXPECT_EQ(std::vector<std::uint8_t>(raw, raw + 272), std::vector<std::uint8_t>(272, 0));
    // Slots beyond the count are never read either.
    EXPECT_EQ(scripted.joystick_reads[3], 0);
    EXPECT_EQ(JoystickButton(3, 0), 0);
}

TEST_F(InputPads, SixteenJoysticksGetSeventeenPads) {
    StartWith(16);
    EXPECT_EQ(pad_count, 17);
    scripted.joysticks[15].rgbButtons[4] = 0x80;
    scripted.joysticks[14].lY = 900;
    PollInput();
    EXPECT_EQ(pads[16].joystick_index, 15);
    EXPECT_EQ(pads[16].held, 0x0100);
    EXPECT_EQ(pads[15].joystick_index, 14);
    EXPECT_EQ(pads[15].held, 0x0002);
}

TEST_F(InputPads, FailedReadsZeroTheTablesAndTheHeldBitsComeBackAsPressed) {
    StartWith(1);
    scripted.keys[0x1C] = 0x80;
    scripted.mouse = MouseStateData{10, -20, 120, {0x80, 0, 0, 0, 0, 0, 0, 0x80}};
    scripted.joysticks[0].lX = -900;
    scripted.joysticks[0].rglSlider[1] = 77;
    scripted.joysticks[0].rgbButtons[3] = 0x80;
    PollInput();
    EXPECT_EQ(MouseState().lY, -20);
    EXPECT_EQ(MouseState().rgbButtons[7], 1);
    ASSERT_NE(JoystickState(0), nullptr);
    EXPECT_EQ(JoystickState(0)->rglSlider[1], 77);
    EXPECT_EQ(pads[0].held, 0x6000);
    EXPECT_EQ(pads[1].held, 0x4084);

    scripted.keyboard_fails = scripted.mouse_fails = scripted.joystick_fails[0] = true;
    PollInput();
    EXPECT_EQ(KeyState(0x1C), 0);
    const auto* mouse = reinterpret_cast<const std::uint8_t*>(&MouseState());
    EXPECT_EQ(std::vector<std::uint8_t>(mouse, mouse + 20), std::vector<std::uint8_t>(20, 0));
    const auto* joystick = reinterpret_cast<const std::uint8_t*>(JoystickState(0));
    EXPECT_EQ(std::vector<std::uint8_t>(joystick, joystick + 272), std::vector<std::uint8_t>(272, 0));
    EXPECT_EQ(EdgesOf(pads[0]), (Edges{0, 0, 0x6000, 0xFFFF}));
    EXPECT_EQ(EdgesOf(pads[1]), (Edges{0, 0, 0x4084, 0xFFFF}));

    scripted.keyboard_fails = scripted.mouse_fails = scripted.joystick_fails[0] = false;
    PollInput();
    EXPECT_EQ(EdgesOf(pads[0]), (Edges{0x6000, 0x6000, 0, 0x9FFF}));
    EXPECT_EQ(EdgesOf(pads[1]), (Edges{0x4084, 0x4084, 0, 0xBF7B}));
}

TEST_F(InputPads, AbsentKeyboardAndMouseReadAsNothingHeld) {
    StartWith(1);
    scripted.keys[0x2C] = 0x80;
    scripted.mouse.rgbButtons[0] = 0x80;
    scripted.keyboard_present = scripted.mouse_present = false;
    scripted.joysticks[0].rgbButtons[0] = 0x80;
    PollInput();
    EXPECT_EQ(KeyState(0x2C), 0);
    EXPECT_EQ(MouseState().rgbButtons[0], 0);
    EXPECT_EQ(pads[0].held, 0);
    EXPECT_EQ(pads[1].held, 0x0010);
}

TEST_F(InputPads, BeforeInitPadsPollingUpdatesTablesButNoPad) {
    scripted.joystick_count = 1;
    scripted.present[0] = true;
    scripted.keys[0xC8] = 0x80;
    scripted.joysticks[0].rgbButtons[1] = 0x80;
    PollInput();
    EXPECT_EQ(pad_count, 0);
    EXPECT_EQ(KeyState(0xC8), 1);
    EXPECT_EQ(JoystickButton(0, 1), 1);
    EXPECT_EQ(EdgesOf(pads[0]), (Edges{0, 0, 0, 0}));
}

TEST_F(InputPads, JoystickCountIncludesEmptySlots) {
    StartWith(3);
    scripted.present[0] = false;
    EXPECT_EQ(JoystickCount(), 3);
}
