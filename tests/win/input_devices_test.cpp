// Opening the input devices through scripted DirectInput objects: the calls each device
// receives, every failure with the messages the user sees, the joystick limits, and
// polling real device reads; plus one start against Wine's own DirectInput.
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

using Messages = std::vector<std::string>;

const char kNoDirectInput[] = "DirectInput8オブジェクトの生成に失敗しました";
const char kKeyboardCreation[] = "DirectInput8\nキーボードオブジェクトの生成に失敗しました";
const char kKeyboardFormat[] = "DirectInput8\nキーボードのデータ設定に失敗しました";
const char kKeyboardCooperation[] = "DirectInput8\nキーボードの協調設定に失敗しました";
const char kMouseCreation[] = "DirectInput8\nマウスオブジェクトの生成に失敗しました";
const char kMouseFormat[] = "DirectInput8\nマウスのデータ設定に失敗しました";
const char kMouseCooperation[] = "DirectInput8\nマウスの協調設定に失敗しました";

HWND const kWindow = reinterpret_cast<HWND>(0x1234);

// Slot presence as a string, one character per slot 0..15: 'J' holds a device, '.' empty.
std::string Slots() {
    std::string slots;
    for (IDirectInputDevice8A* device : OpenedInputDevices().joysticks) slots += device != nullptr ? 'J' : '.';
    return slots;
}

}  // namespace

TEST(InputDevices, OpensEveryDeviceWithItsFormatCooperationAndAxisRange) {
    MessageRecorder messages;
    FakeInputSystem input;
    FakeDevice& pad = input.AddJoystick();
    pad.axes = {0x00000102, 0x00000202, 0x00000302};
    ASSERT_TRUE(input.Init(kWindow));

    EXPECT_EQ(messages.Messages(), Messages{});
    EXPECT_EQ(input.create_calls, 1);
    EXPECT_EQ(input.create_instance, GetModuleHandleA(nullptr));
    EXPECT_EQ(input.create_version, 0x0800u);
    EXPECT_TRUE(input.create_asked_for_8a);

    EXPECT_EQ(input.direct_input.enum_devices_calls, 1);
    EXPECT_EQ(input.direct_input.enum_device_type, 4u);  // game controllers
    EXPECT_EQ(input.direct_input.enum_flags, 1u);        // attached only
    EXPECT_EQ(input.direct_input.enum_context, nullptr);

    struct Expected {
        FakeDevice* device;
        const DIDATAFORMAT* format;
        std::vector<std::string> calls;
    };
    const std::vector<std::string> system_calls = {"SetDataFormat", "SetCooperativeLevel", "Acquire"};
    const std::vector<std::string> joystick_calls = {"SetDataFormat", "SetCooperativeLevel", "EnumObjects",
                                                     "SetProperty",   "SetProperty",         "SetProperty",
                                                     "Acquire"};
    for (const Expected& e : {Expected{&input.direct_input.keyboard, &c_dfDIKeyboard, system_calls},
                              Expected{&input.direct_input.mouse, &c_dfDIMouse2, system_calls},
                              Expected{&pad, &c_dfDIJoystick2, joystick_calls}}) {
        EXPECT_EQ(e.device->data_format, e.format);
        EXPECT_EQ(e.device->cooperative_window, kWindow);
        EXPECT_EQ(e.device->cooperative_flags, 6u);  // non-exclusive, foreground
        EXPECT_EQ(e.device->calls, e.calls);
        EXPECT_EQ(e.device->release_calls, 0);
    }

    // The joysticks open after the keyboard and the mouse.
    EXPECT_EQ(input.direct_input.create_device_guids,
              (std::vector<GUID>{GUID_SysKeyboard, GUID_SysMouse, input.direct_input.controllers[0].guid}));

    EXPECT_EQ(pad.enum_objects_flags, 3u);  // every axis
    EXPECT_EQ(pad.enum_objects_context, static_cast<void*>(static_cast<IDirectInputDevice8A*>(&pad)));
    ASSERT_EQ(pad.ranges.size(), 3u);
    for (size_t i = 0; i < pad.ranges.size(); ++i) {
        const DIPROPRANGE& range = pad.ranges[i];
        EXPECT_EQ(range.diph.dwSize, 24u);
        EXPECT_EQ(range.diph.dwHeaderSize, 16u);
        EXPECT_EQ(range.diph.dwObj, pad.axes[i]);
        EXPECT_EQ(range.diph.dwHow, 2u);  // by id
        EXPECT_EQ(range.lMin, -1000);
        EXPECT_EQ(range.lMax, 1000);
    }

    EXPECT_EQ(JoystickCount(), 1);
    EXPECT_EQ(OpenedInputDevices().joystick_limit, 16);
    EXPECT_EQ(Slots(), "J...............");
    EXPECT_EQ(pad_count, 2);
}

TEST(InputDevices, WithoutDirectInputOneMessageAndNoDevice) {
    MessageRecorder messages;
    FakeInputSystem input;
    input.create_result = DIERR_OLDDIRECTINPUTVERSION;
    // Held on the fakes, so that only a layer that never reads them reports nothing held.
    input.direct_input.keyboard.keys[kKeyZ] = 0x80;
    input.AddJoystick().joystick.rgbButtons[0] = 0x80;
    EXPECT_FALSE(input.Init(kWindow));

    EXPECT_EQ(messages.Messages(), Messages{kNoDirectInput});
    EXPECT_EQ(OpenedInputDevices().direct_input, nullptr);
    EXPECT_EQ(OpenedInputDevices().keyboard, nullptr);
    EXPECT_EQ(OpenedInputDevices().mouse, nullptr);
    EXPECT_EQ(input.direct_input.create_device_guids.size(), 0u);
    EXPECT_EQ(JoystickCount(), 0);
    EXPECT_EQ(Slots(), "................");
    EXPECT_EQ(pad_count, 0);

    // The rest of the tool still polls harmlessly.
    PollInput();
    EXPECT_EQ(KeyState(kKeyZ), 0);
    EXPECT_EQ(JoystickButton(0, 0), 0);
    EXPECT_EQ(input.direct_input.keyboard.reads, 0);
    EXPECT_EQ(input.Joystick(0).reads, 0);
    EXPECT_EQ(pads[0].not_held, 0);  // the pads were never set up
}

TEST(InputDevices, KeyboardOrMouseFailureShowsOneMessageAndTheRestOpens) {
    enum Step { kCreate, kFormat, kCooperation };
    struct Row {
        bool keyboard_fails;
        bool mouse_fails;
        Step step;
        Messages messages;
    };
    const Row rows[] = {
        {true, false, kCreate, {kKeyboardCreation}},
        {true, false, kFormat, {kKeyboardFormat}},
        {true, false, kCooperation, {kKeyboardCooperation}},
        {false, true, kCreate, {kMouseCreation}},
        {false, true, kFormat, {kMouseFormat}},
        {false, true, kCooperation, {kMouseCooperation}},
        {true, true, kCreate, {kKeyboardCreation, kMouseCreation}},
        {true, true, kCooperation, {kKeyboardCooperation, kMouseCooperation}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.messages.front() + (row.mouse_fails && row.keyboard_fails ? " (both)" : ""));
        MessageRecorder messages;
        FakeInputSystem input;
        FakeDevice& pad = input.AddJoystick();
        struct Target {
            bool fails;
            FakeDevice* fake;
            HRESULT* create_result;
            IDirectInputDevice8A* InputDevices::*slot;
        };
        const Target targets[] = {
            {row.keyboard_fails, &input.direct_input.keyboard, &input.direct_input.create_keyboard_result,
             &InputDevices::keyboard},
            {row.mouse_fails, &input.direct_input.mouse, &input.direct_input.create_mouse_result,
             &InputDevices::mouse},
        };
        for (const Target& t : targets) {
            if (!t.fails) continue;
            if (row.step == kCreate) *t.create_result = DIERR_NOINTERFACE;
            if (row.step == kFormat) t.fake->set_data_format_result = DIERR_INVALIDPARAM;
            if (row.step == kCooperation) t.fake->set_cooperative_level_result = E_HANDLE;
        }

        EXPECT_TRUE(input.Init(kWindow));
        EXPECT_EQ(messages.Messages(), row.messages);
        for (const Target& t : targets) {
            if (!t.fails) {
                EXPECT_EQ(OpenedInputDevices().*t.slot, t.fake);
                EXPECT_EQ(t.fake->acquire_calls, 1);
            } else if (row.step == kCreate) {
                EXPECT_EQ(OpenedInputDevices().*t.slot, nullptr);
            } else {
                // Created but not acquired, and kept.
                EXPECT_EQ(OpenedInputDevices().*t.slot, t.fake);
                EXPECT_EQ(t.fake->acquire_calls, 0);
                EXPECT_EQ(t.fake->release_calls, 0);
            }
        }
        // A failed step ends that device's set-up.
        const std::vector<std::string> calls_until_failure[] = {
            {}, {"SetDataFormat"}, {"SetDataFormat", "SetCooperativeLevel"}};
        for (const Target& t : targets) {
            if (t.fails) {
                EXPECT_EQ(t.fake->calls, calls_until_failure[row.step]);
            }
        }
        // A keyboard or mouse failure skips nothing after it: keyboard, mouse, then the joystick.
        EXPECT_EQ(input.direct_input.create_device_guids,
                  (std::vector<GUID>{GUID_SysKeyboard, GUID_SysMouse, input.direct_input.controllers[0].guid}));
        EXPECT_EQ(JoystickCount(), 1);
        EXPECT_EQ(pad.acquire_calls, 1);
        EXPECT_EQ(pad_count, 2);
    }
}

TEST(InputDevices, JoystickEnumerationLimitsAndFailures) {
    enum Failure { kNone, kFormat, kCooperation, kObjects, kCreate };
    struct Row {
        const char* name;
        int attached;
        UINT slots;           // joyGetNumDevs
        int failing;          // controller index that fails, -1 for none
        Failure failure;
        HRESULT enumeration;  // EnumDevices' own result
        bool honours_stop;
        bool open_result;
        int count;
        int limit;
        int reported;  // controllers the enumeration reported before it ended
        int created;   // CreateDevice calls
        std::string slots_after;
        std::vector<int> released;  // release count per controller
    };
    const Row rows[] = {
        {"no controller", 0, 16, -1, kNone, DI_OK, true, true, 0, 16, 0, 0, "................", {}},
        {"three", 3, 16, -1, kNone, DI_OK, true, true, 3, 16, 3, 3, "JJJ.............", {0, 0, 0}},
        {"second fails its data format", 3, 16, 1, kFormat, DI_OK, true, true, 3, 16, 3, 3, "J.J.............",
         {0, 1, 0}},
        {"second fails its cooperation", 3, 16, 1, kCooperation, DI_OK, true, true, 3, 16, 3, 3,
         "J.J.............", {0, 1, 0}},
        {"first fails its axes", 3, 16, 0, kObjects, DI_OK, true, true, 3, 16, 3, 3, ".JJ.............", {1, 0, 0}},
        {"third cannot be created", 5, 16, 2, kCreate, DI_OK, true, true, 2, 16, 3, 3, "JJ..............",
         {0, 0, 0, 0, 0}},
        {"more than the limit", 5, 3, -1, kNone, DI_OK, true, true, 3, 3, 3, 3, "JJJ.............",
         {0, 0, 0, 0, 0}},
        {"limit 16 of 20", 20, 16, -1, kNone, DI_OK, true, true, 16, 16, 16, 16, "JJJJJJJJJJJJJJJJ", {}},
        {"limit 0x110 is 16", 20, 0x110, -1, kNone, DI_OK, true, true, 16, 16, 16, 16, "JJJJJJJJJJJJJJJJ", {}},
        {"limit 255 is 16", 20, 0xFF, -1, kNone, DI_OK, true, true, 16, 16, 16, 16, "JJJJJJJJJJJJJJJJ", {}},
        {"limit 0x105 is 5", 20, 0x105, -1, kNone, DI_OK, true, true, 5, 5, 5, 5, "JJJJJ...........", {}},
        {"limit 0 opens none", 2, 0, -1, kNone, DI_OK, true, true, 0, 0, 1, 0, "................", {0, 0}},
        {"limit 0x100 opens none", 2, 0x100, -1, kNone, DI_OK, true, true, 0, 0, 1, 0, "................", {0, 0}},
        {"enumeration ignoring stop", 20, 16, -1, kNone, DI_OK, false, true, 16, 16, 20, 16, "JJJJJJJJJJJJJJJJ", {}},
        {"enumeration fails", 2, 16, -1, kNone, DIERR_GENERIC, true, false, 0, 16, 2, 2, "................", {1, 1}},
        {"enumeration fails at the limit", 3, 2, -1, kNone, DIERR_GENERIC, true, false, 0, 2, 2, 2,
         "................", {1, 1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MessageRecorder messages;
        FakeInputSystem input;
        // The layer starts with nothing attached; the controllers then come for the
        // joystick step alone, so that its own result can be seen.
        ASSERT_TRUE(input.Init(kWindow));
        input.direct_input.create_device_guids.clear();
        input.joystick_slots = row.slots;
        input.direct_input.enum_devices_result = row.enumeration;
        input.direct_input.enumeration_honours_stop = row.honours_stop;
        for (int i = 0; i < row.attached; ++i) {
            FakeDevice& device = input.AddJoystick(i == row.failing && row.failure == kCreate ? DIERR_NOTFOUND : DI_OK);
            if (i != row.failing) continue;
            if (row.failure == kFormat) device.set_data_format_result = DIERR_INVALIDPARAM;
            if (row.failure == kCooperation) device.set_cooperative_level_result = E_HANDLE;
            if (row.failure == kObjects) device.enum_objects_result = DIERR_NOTINITIALIZED;
        }

        EXPECT_EQ(OpenJoysticks(&input.context), row.open_result);
        EXPECT_EQ(messages.Messages(), Messages{});
        EXPECT_EQ(static_cast<int>(input.direct_input.create_device_guids.size()), row.created);
        EXPECT_EQ(JoystickCount(), row.count);
        EXPECT_EQ(OpenedInputDevices().joystick_limit, row.limit);
        EXPECT_EQ(input.direct_input.controllers_reported, row.reported);
        EXPECT_EQ(Slots(), row.slots_after);
        for (size_t i = 0; i < row.released.size(); ++i) {
            EXPECT_EQ(input.Joystick(static_cast<int>(i)).release_calls, row.released[i]) << "controller " << i;
        }

        // Devices are asked for in the order the enumeration reported the controllers.
        std::vector<GUID> asked;
        for (int i = 0; i < row.created; ++i) asked.push_back(input.direct_input.controllers[i].guid);
        EXPECT_EQ(input.direct_input.create_device_guids, asked);

        // The calls each controller received. A failed step skips the rest of the set-up
        // and releases the device; the fake reports its two axes before EnumObjects fails.
        const std::vector<std::string> set_up = {"SetDataFormat", "SetCooperativeLevel", "EnumObjects",
                                                 "SetProperty",   "SetProperty",         "Acquire"};
        const std::vector<std::string> failed_set_up[] = {
            set_up,                                                        // kNone
            {"SetDataFormat", "Release"},                                  // kFormat
            {"SetDataFormat", "SetCooperativeLevel", "Release"},           // kCooperation
            {"SetDataFormat", "SetCooperativeLevel", "EnumObjects", "SetProperty", "SetProperty",
             "Release"},                                                   // kObjects
            {},                                                            // kCreate
        };
        for (int i = 0; i < row.attached; ++i) {
            const bool created = i < row.created && !(i == row.failing && row.failure == kCreate);
            std::vector<std::string> expected;
            if (!created) expected = {};
            else if (!row.open_result) expected = {"Release"};  // released without a set-up
            else if (i == row.failing) expected = failed_set_up[row.failure];
            else expected = set_up;
            EXPECT_EQ(input.Joystick(i).calls, expected) << "controller " << i;
        }
    }
}

TEST(InputDevices, AxisRangeFailureStopsRangingButKeepsTheDevice) {
    MessageRecorder messages;
    FakeInputSystem input;
    FakeDevice& pad = input.AddJoystick();
    pad.axes = {0x102, 0x202, 0x302, 0x402};
    pad.set_property_fails_at = 1;
    ASSERT_TRUE(input.Init(kWindow));

    EXPECT_EQ(pad.set_property_calls, 2);  // the first two axes; the rest keep their own range
    EXPECT_EQ(pad.acquire_calls, 1);
    EXPECT_EQ(pad.release_calls, 0);
    EXPECT_EQ(Slots(), "J...............");
    EXPECT_EQ(JoystickCount(), 1);
    EXPECT_EQ(messages.Messages(), Messages{});
}

TEST(InputDevices, FailedAcquireAtStartIsIgnored) {
    MessageRecorder messages;
    FakeInputSystem input;
    input.direct_input.keyboard.acquire_result = DIERR_OTHERAPPHASPRIO;
    input.direct_input.mouse.acquire_result = DIERR_OTHERAPPHASPRIO;
    input.AddJoystick().acquire_result = DIERR_OTHERAPPHASPRIO;
    EXPECT_TRUE(input.Init(kWindow));
    EXPECT_EQ(messages.Messages(), Messages{});
    EXPECT_EQ(Slots(), "J...............");
    EXPECT_EQ(OpenedInputDevices().keyboard, &input.direct_input.keyboard);
    EXPECT_EQ(OpenedInputDevices().mouse, &input.direct_input.mouse);
}

// Wine's own DirectInput: under Xvfb no window has the foreground and no controller is
// attached, so the devices open without a word and nothing is counted.
// After a device notice: one enumeration, every controller let go and opened again, so
// the count, the first one's name and the pads are those attached now.
TEST(InputDevices, RescanFollowsWhatIsAttachedNow) {
    struct Row {
        const char* name;
        std::vector<bool> at_start;  // controllers attached at start-up
        std::vector<bool> now;       // attached at the rescan (more may have arrived)
        int count;
        const wchar_t* first_name;  // nullptr: none counted
    };
    const Row rows[] = {
        {"nothing before or after", {}, {}, 0, nullptr},
        {"one arrives", {}, {true}, 1, L"pad 1"},
        {"the first stays, a second arrives", {true}, {true, true}, 2, L"pad 1"},
        {"the first leaves, the second moves up", {true, true}, {false, true}, 1, L"pad 2"},
        {"the only one leaves", {true}, {false}, 0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeInputSystem input;
        for (std::size_t i = 0; i < row.now.size(); ++i) {
            FakeDevice& pad = input.AddJoystick();
            pad.product_name = L"pad " + std::to_wstring(i + 1);
            input.direct_input.controllers[i].attached = i < row.at_start.size() && row.at_start[i];
        }
        ASSERT_TRUE(input.Init(kWindow));
        for (std::size_t i = 0; i < row.now.size(); ++i) input.direct_input.controllers[i].attached = row.now[i];

        EXPECT_EQ(RescanJoysticks(&input.context), row.count);
        EXPECT_EQ(JoystickCount(), row.count);
        EXPECT_EQ(pad_count, row.count + 1);
        const wchar_t* name = FirstJoystickName();
        EXPECT_EQ(name == nullptr, row.first_name == nullptr);
        if (name != nullptr && row.first_name != nullptr) {
            EXPECT_STREQ(name, row.first_name);
        }
        EXPECT_EQ(input.direct_input.enum_devices_calls, 2);
        EXPECT_EQ(input.direct_input.device_status_calls, 0);
        // Each controller open before was let go once; each attached now is open.
        for (std::size_t i = 0; i < row.now.size(); ++i) {
            const bool was_open = i < row.at_start.size() && row.at_start[i];
            EXPECT_EQ(input.Joystick(static_cast<int>(i)).release_calls, was_open ? 1 : 0) << i;
        }
    }
}

// A failed read asks DirectInput once per run of failures whether the controller is still
// there; only DI_NOTATTACHED lets it go, and only the first one's loss forgets them all.
TEST(InputDevices, AFailedReadAsksOnceWhetherTheControllerIsGone) {
    struct Row {
        const char* name;
        int pads;
        int failing;                 // the controller whose reads are scripted
        std::vector<int> failures;   // polls at which its read fails while it stays attached
        int pulled_out_at;           // the poll before which it is pulled out; 0: never
        int queries;                 // GetDeviceStatus calls over 6 polls
        int reads;                   // of the scripted controller
        bool forgotten;              // ForgetLostJoysticks afterwards
        const char* slots;
    };
    const Row rows[] = {
        {"the foreground lost for three polls: one query, kept", 1, 0, {2, 3, 4}, 0, 1, 6, false, "J"},
        {"two runs of failures, a query each", 1, 0, {2, 3, 5}, 0, 2, 6, false, "J"},
        {"pulled out: one failed read, one query, never read again", 1, 0, {}, 3, 1, 3, true, "."},
        {"the second pulled out: its slot empties, the first stays", 2, 1, {}, 2, 1, 2, false, "J."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeInputSystem input;
        for (int i = 0; i < row.pads; ++i) input.AddJoystick();
        ASSERT_TRUE(input.Init(kWindow));
        FakeDevice& pad = input.Joystick(row.failing);
        for (int poll : row.failures) pad.FailReadsFrom(poll, poll, poll % 2 ? DIERR_INPUTLOST : DIERR_NOTACQUIRED);

        for (int poll = 1; poll <= 6; ++poll) {
            if (poll == row.pulled_out_at) input.direct_input.controllers[row.failing].attached = false;
            PollInput();
        }

        EXPECT_EQ(input.direct_input.device_status_calls, row.queries);
        EXPECT_EQ(pad.reads, row.reads);
        EXPECT_EQ(ForgetLostJoysticks(), row.forgotten);
        EXPECT_EQ(Slots().substr(0, row.pads), row.forgotten ? std::string(row.pads, '.') : row.slots);
        EXPECT_EQ(JoystickCount(), row.forgotten ? 0 : row.pads);
        EXPECT_EQ(pad_count, JoystickCount() + 1);
        EXPECT_EQ(input.direct_input.enum_devices_calls, 1);  // start-up's only
        EXPECT_FALSE(ForgetLostJoysticks());
    }
}

TEST(InputDevices, RealDirectInputOpensKeyboardAndMouseWithoutController) {
    ResetInputForTesting();
    MessageRecorder messages;
    HWND window = CreateWindowExA(0, "STATIC", "input smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    WindowContext context{window, GetModuleHandleA(nullptr)};

    EXPECT_TRUE(InitInput(&context));
    EXPECT_EQ(messages.Messages(), Messages{});
    EXPECT_NE(OpenedInputDevices().direct_input, nullptr);
    EXPECT_NE(OpenedInputDevices().keyboard, nullptr);
    EXPECT_NE(OpenedInputDevices().mouse, nullptr);
    EXPECT_EQ(JoystickCount(), 0);
    EXPECT_EQ(pad_count, 1);

    PollInput();  // whether or not the devices could be acquired, nothing is held
    for (int code = 0; code < 256; ++code) EXPECT_EQ(KeyState(static_cast<std::uint8_t>(code)), 0) << code;
    EXPECT_EQ(pads[0].held & 0x3FFF, 0);

    ResetInputForTesting();
    DestroyWindow(window);
}
