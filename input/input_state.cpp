// Polling: the device reads normalised into the state tables, and the virtual pads
// recomputed from those tables at every poll.
#include "input/input_state.h"

#include <algorithm>
#include <cstring>

#include "input/input.h"

std::uint8_t keyboard_state[kKeyCount];
MouseStateData mouse_state;
JoystickStateData joystick_states[kMaxJoysticks];

std::uint8_t pad_count;
VirtualPad pads[kPadCapacity];
std::int32_t pad_is_keyboard[kPadCapacity];
std::uint8_t button_maps[kMaxJoysticks][kPadActionButtons];

const std::uint8_t pad_keys[kPadKeyCount] = {
    kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyZ, kKeyX, kKeyC,
    kKeyA,  kKeyS,    kKeyD,    kKeyQ,     kKeyW, kKeyE, kKeyReturn,
};
const std::uint8_t default_button_map[kPadActionButtons] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

namespace {

// Before a platform hands its reads over (and in builds without one) there are no
// devices: nothing is counted and every read reports the device absent, which polling
// turns into nothing held.
const DeviceReads no_devices = {
    [] { return std::uint8_t{0}; },
    [](std::uint8_t) { return false; },
    [](std::uint8_t*) { return false; },
    [](MouseStateData*) { return false; },
    [](std::uint8_t, JoystickStateData*) { return false; },
    nullptr,
};

const DeviceReads* device_reads = &no_devices;

// The platform marks a button down with the high bit of its byte.
std::uint8_t DownBit(std::uint8_t raw) { return static_cast<std::uint8_t>(raw >> 7); }

std::uint8_t CountedJoysticks() {
    return std::min<std::uint8_t>(device_reads->joystick_count(), kMaxJoysticks);
}

}  // namespace

const DeviceReads* SetDeviceReads(const DeviceReads* reads) {
    const DeviceReads* previous = device_reads;
    device_reads = reads != nullptr ? reads : &no_devices;
    return previous;
}

void InitPads() {
    pad_count = static_cast<std::uint8_t>(CountedJoysticks() + 1);
    std::memset(pads, 0, sizeof pads);
    for (auto& map : button_maps) std::memcpy(map, default_button_map, sizeof map);
    pad_is_keyboard[0] = 1;
    for (int i = 1; i < kPadCapacity; ++i) pad_is_keyboard[i] = 0;
}

void PollKeyboard() {
    std::uint8_t scratch[kKeyCount];
    if (!device_reads->read_keyboard(scratch)) {
        std::memset(keyboard_state, 0, sizeof keyboard_state);
        return;
    }
    for (int k = 0; k < kKeyCount; ++k) keyboard_state[k] = DownBit(scratch[k]);
}

void PollMouse() {
    MouseStateData scratch;
    if (!device_reads->read_mouse(&scratch)) {
        mouse_state = MouseStateData{};
        return;
    }
    mouse_state.lX = scratch.lX;
    mouse_state.lY = scratch.lY;
    mouse_state.lZ = scratch.lZ;
    for (int b = 0; b < kMouseButtonCount; ++b) mouse_state.rgbButtons[b] = DownBit(scratch.rgbButtons[b]);
}

void PollJoysticks() {
    const std::uint8_t count = CountedJoysticks();
    for (std::uint8_t i = 0; i < count; ++i) {
        // An empty slot is never read, so its entry stays all zero.
        if (!device_reads->joystick_present(i)) continue;
        JoystickStateData& state = joystick_states[i];
        if (!device_reads->read_joystick(i, &state)) {
            state = JoystickStateData{};
            continue;
        }
        for (auto& button : state.rgbButtons) button = DownBit(button);
    }
}

std::uint8_t KeyState(std::uint8_t code) { return keyboard_state[code]; }

const MouseStateData& MouseState() { return mouse_state; }

const JoystickStateData* JoystickState(std::uint8_t index) {
    if (index >= kMaxJoysticks || !device_reads->joystick_present(index)) return nullptr;
    return &joystick_states[index];
}

std::uint8_t JoystickCount() { return device_reads->joystick_count(); }

std::uint8_t JoystickButton(std::uint8_t index, std::uint8_t button) {
    const JoystickStateData* state = JoystickState(index);
    if (state == nullptr || button >= kJoystickButtonCount) return 0;
    return state->rgbButtons[button];
}

PadButtons KeyboardPadButtons() {
    PadButtons bits = 0;
    for (int i = 0; i < kPadKeyCount; ++i) {
        if (KeyState(pad_keys[i]) != 0) bits |= static_cast<PadButtons>(1u << i);
    }
    return bits;
}

PadButtons JoystickPadButtons(std::uint8_t index) {
    const JoystickStateData* state = JoystickState(index);
    if (state == nullptr) return 0;
    PadButtons bits = 0;
    if (state->lY < -kAxisThreshold) bits |= kPadUp;
    else if (state->lY > kAxisThreshold) bits |= kPadDown;
    if (state->lX < -kAxisThreshold) bits |= kPadLeft;
    else if (state->lX > kAxisThreshold) bits |= kPadRight;
    for (int k = 0; k < kPadActionButtons; ++k) {
        const std::uint8_t button = button_maps[index][k];
        if (button < kJoystickButtonCount && state->rgbButtons[button] != 0) {
            bits |= static_cast<PadButtons>(kPadButton0 << k);
        }
    }
    return bits;
}

void PollInput() {
    PollKeyboard();
    PollMouse();
    PollJoysticks();
    if (pad_count == 0) return;

    PadButtons mouse_bits = 0;
    if (mouse_state.rgbButtons[0] != 0) mouse_bits |= kPadMouseLeft;
    if (mouse_state.rgbButtons[1] != 0) mouse_bits |= kPadMouseRight;

    std::uint8_t next_joystick = 0;
    const int live = std::min<int>(pad_count, kPadCapacity);
    for (int i = 0; i < live; ++i) {
        VirtualPad& pad = pads[i];
        const PadButtons old = pad.held;
        PadButtons now = mouse_bits;
        if (pad_is_keyboard[i] != 0) {
            now |= KeyboardPadButtons();
        } else {
            now |= JoystickPadButtons(next_joystick);
            pad.joystick_index = next_joystick;
            ++next_joystick;
        }
        pad.pressed = static_cast<PadButtons>(now & ~old);
        pad.held = now;
        pad.released = static_cast<PadButtons>(old & ~now);
        pad.not_held = static_cast<PadButtons>(~now);
    }
}

void ResetInputForTesting() {
    if (device_reads->release != nullptr) device_reads->release();
    std::memset(keyboard_state, 0, sizeof keyboard_state);
    mouse_state = MouseStateData{};
    std::memset(joystick_states, 0, sizeof joystick_states);
    pad_count = 0;
    std::memset(pads, 0, sizeof pads);
    std::memset(pad_is_keyboard, 0, sizeof pad_is_keyboard);
    std::memset(button_maps, 0, sizeof button_maps);
    device_reads = &no_devices;
}
