// Polling DirectInput devices through the scripted fakes: what each poll asks of a
// device, failed reads, absent devices, and a button pressed part-way through a capture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/devices_win.h"
#include "input/input.h"
#include "input/input_state.h"
#include "support/scratch_dir.h"
#include "win/fake_dinput.h"

using testing_support::FakeDevice;
using testing_support::FakeInputSystem;
using testing_support::MessageRecorder;

namespace {
HWND const kWindow = reinterpret_cast<HWND>(0x1234);
}  // namespace

TEST(InputPolling, EachPollReadsEveryDeviceOnceInItsOwnLayout) {
    FakeInputSystem input;
    FakeDevice& first = input.AddJoystick();
    FakeDevice& second = input.AddJoystick();
    ASSERT_TRUE(input.Init(kWindow));
    for (FakeDevice* device : {&input.direct_input.keyboard, &input.direct_input.mouse, &first, &second}) {
        device->calls.clear();
    }

    PollInput();
    PollInput();
    EXPECT_EQ(input.direct_input.keyboard.calls, (std::vector<std::string>{"GetDeviceState", "GetDeviceState"}));
    EXPECT_EQ(input.direct_input.keyboard.last_read_size, 256u);
    EXPECT_EQ(input.direct_input.mouse.reads, 2);
    EXPECT_EQ(input.direct_input.mouse.last_read_size, 20u);
    for (FakeDevice* pad : {&first, &second}) {
        EXPECT_EQ(pad->calls, (std::vector<std::string>{"Poll", "GetDeviceState", "Poll", "GetDeviceState"}));
        EXPECT_EQ(pad->last_read_size, 272u);
    }
}

// One log shared by the devices' reads: keyboard, mouse, then the joysticks in slot
// order, each joystick polled just before it is read; and the same again at every poll.
TEST(InputPolling, KeyboardThenMouseThenJoysticksInSlotOrder) {
    FakeInputSystem input;
    input.AddJoystick();
    input.AddJoystick();
    ASSERT_TRUE(input.Init(kWindow));
    std::vector<std::string> log;
    const struct {
        FakeDevice* device;
        const char* name;
    } devices[] = {{&input.Joystick(1), "joystick 1"},
                   {&input.direct_input.mouse, "mouse"},
                   {&input.Joystick(0), "joystick 0"},
                   {&input.direct_input.keyboard, "keyboard"}};
    for (const auto& d : devices) {
        d.device->calls.clear();
        d.device->script = [&log, name = std::string(d.name)](FakeDevice& device, int) {
            // The read is the last call in the device's own list; a joystick's Poll precedes it.
            const bool polled = device.calls.size() >= 2 && device.calls[device.calls.size() - 2] == "Poll";
            log.push_back(name + (polled ? " (polled)" : ""));
            return DI_OK;
        };
    }

    PollInput();
    PollInput();
    const std::vector<std::string> one_poll = {"keyboard", "mouse", "joystick 0 (polled)", "joystick 1 (polled)"};
    std::vector<std::string> expected = one_poll;
    expected.insert(expected.end(), one_poll.begin(), one_poll.end());
    EXPECT_EQ(log, expected);
}

TEST(InputPolling, DeliveredStateIsNormalisedIntoTheTables) {
    FakeInputSystem input;
    FakeDevice& pad = input.AddJoystick();
    ASSERT_TRUE(input.Init(kWindow));
    input.direct_input.keyboard.keys[kKeyZ] = 0x80;
    input.direct_input.keyboard.keys[0x01] = 0x7F;  // only the high bit means down
    input.direct_input.mouse.mouse = DIMOUSESTATE2{5, -7, 120, {0x80, 0x00, 0x81, 0, 0, 0, 0, 0xFF}};
    pad.joystick.lX = -1000;
    pad.joystick.lY = 801;
    pad.joystick.rgdwPOV[0] = 9000;
    pad.joystick.rgbButtons[2] = 0x80;
    pad.joystick.rgbButtons[127] = 0x80;

    PollInput();
    EXPECT_EQ(KeyState(kKeyZ), 1);
    EXPECT_EQ(KeyState(0x01), 0);
    EXPECT_EQ(MouseState().lX, 5);
    EXPECT_EQ(MouseState().lY, -7);
    EXPECT_EQ(MouseState().lZ, 120);
    EXPECT_EQ(std::vector<int>(MouseState().rgbButtons, MouseState().rgbButtons + 8),
              (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 1}));
    ASSERT_NE(JoystickState(0), nullptr);
    EXPECT_EQ(JoystickState(0)->lX, -1000);
    EXPECT_EQ(JoystickState(0)->rgdwPOV[0], 9000u);
    EXPECT_EQ(JoystickButton(0, 2), 1);
    EXPECT_EQ(JoystickButton(0, 127), 1);
    EXPECT_EQ(JoystickButton(0, 3), 0);
    EXPECT_EQ(pads[0].held, 0x4000 | 0x0010);           // left mouse, Z
    EXPECT_EQ(pads[1].held, 0x4000 | 0x0040 | 0x0002 | 0x0004);  // left mouse, button 2, down, left
}

TEST(InputPolling, FailedReadReacquiresAndReadsAsNothingHeld) {
    FakeInputSystem input;
    FakeDevice& keyboard = input.direct_input.keyboard;
    FakeDevice& mouse = input.direct_input.mouse;
    FakeDevice& pad = input.AddJoystick();
    ASSERT_TRUE(input.Init(kWindow));
    keyboard.keys[kKeyUp] = 0x80;
    mouse.mouse = DIMOUSESTATE2{3, 4, 5, {0x80, 0x80}};
    pad.joystick.lX = 900;
    pad.joystick.rgbButtons[0] = 0x80;
    for (FakeDevice* device : {&keyboard, &mouse, &pad}) device->FailReadsFrom(2, 2);
    const int acquired_at_start = 1;

    PollInput();  // read 1: all held
    EXPECT_EQ(pads[0].held, 0xC001);
    EXPECT_EQ(pads[1].held, 0xC018);

    PollInput();  // read 2 fails everywhere: the window lost the foreground
    for (FakeDevice* device : {&keyboard, &mouse, &pad}) EXPECT_EQ(device->acquire_calls, acquired_at_start + 1);
    EXPECT_EQ(KeyState(kKeyUp), 0);
    EXPECT_EQ(MouseState().lX, 0);
    EXPECT_EQ(MouseState().lZ, 0);
    EXPECT_EQ(MouseState().rgbButtons[0], 0);
    ASSERT_NE(JoystickState(0), nullptr);
    const std::uint8_t* raw = reinterpret_cast<const std::uint8_t*>(JoystickState(0));
    EXPECT_EQ(std::vector<std::uint8_t>(raw, raw + 272), std::vector<std::uint8_t>(272, 0));  // centred, no button
    EXPECT_EQ(pads[0].held, 0);
    EXPECT_EQ(pads[0].released, 0xC001);
    EXPECT_EQ(pads[1].released, 0xC018);

    PollInput();  // read 3 works again: still held, so pressed once more
    EXPECT_EQ(pads[0].pressed, 0xC001);
    EXPECT_EQ(pads[1].pressed, 0xC018);
    for (FakeDevice* device : {&keyboard, &mouse, &pad}) EXPECT_EQ(device->acquire_calls, acquired_at_start + 1);
}

TEST(InputPolling, AbsentOrHalfOpenKeyboardAndMouseReadAsNothingHeld) {
    struct Row {
        const char* name;
        bool create_fails;  // else the data format fails: present, never acquired
    };
    for (const Row& row : {Row{"not created", true}, Row{"not set up", false}}) {
        SCOPED_TRACE(row.name);
        MessageRecorder messages;
        FakeInputSystem input;
        FakeDevice& pad = input.AddJoystick();
        if (row.create_fails) {
            input.direct_input.create_keyboard_result = DIERR_NOINTERFACE;
            input.direct_input.create_mouse_result = DIERR_NOINTERFACE;
        } else {
            input.direct_input.keyboard.set_data_format_result = DIERR_INVALIDPARAM;
            input.direct_input.mouse.set_data_format_result = DIERR_INVALIDPARAM;
            // A device without its format cannot be read.
            input.direct_input.keyboard.FailReadsFrom(1);
            input.direct_input.mouse.FailReadsFrom(1);
        }
        input.direct_input.keyboard.keys[kKeyZ] = 0x80;
        input.direct_input.mouse.mouse.rgbButtons[0] = 0x80;
        pad.PressButtonFrom(0, 1);
        ASSERT_TRUE(input.Init(kWindow));
        EXPECT_EQ(messages.Messages().size(), 2u);

        PollInput();
        PollInput();
        EXPECT_EQ(KeyState(kKeyZ), 0);
        EXPECT_EQ(MouseState().rgbButtons[0], 0);
        EXPECT_EQ(pads[0].held, 0);
        EXPECT_EQ(pads[1].held, 0x0010);  // the joystick still works
        EXPECT_EQ(JoystickButton(0, 0), 1);
    }
}

// The key configuration page's capture: JoystickButton(0, b) turns non-zero at the poll
// where the scripted button goes down, and an empty or missing joystick reads 0.
TEST(InputPolling, ScriptedButtonGoesDownAtTheGivenPoll) {
    FakeInputSystem input;
    input.AddJoystick().PressButtonFrom(7, 4);
    ASSERT_TRUE(input.Init(kWindow));
    ASSERT_EQ(JoystickCount(), 1);
    for (int poll = 1; poll <= 6; ++poll) {
        PollInput();
        EXPECT_EQ(JoystickButton(0, 7), poll >= 4 ? 1 : 0) << "poll " << poll;
        EXPECT_EQ(JoystickButton(0, 6), 0);
        EXPECT_EQ(JoystickButton(1, 7), 0);
    }
}

TEST(InputPolling, NoJoystickCountsZeroAndReadsNothing) {
    FakeInputSystem input;
    ASSERT_TRUE(input.Init(kWindow));
    EXPECT_EQ(JoystickCount(), 0);
    PollInput();
    for (int button = 0; button < 12; ++button) EXPECT_EQ(JoystickButton(0, static_cast<std::uint8_t>(button)), 0);
    EXPECT_EQ(JoystickState(0), nullptr);
}
