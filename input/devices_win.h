// The input layer's devices: DirectInput 8, the keyboard, the mouse and up to 16 game
// controllers, opened at start-up and kept open for the life of the process. They reach
// the portable polling through its one seam (SetDeviceReads). Windows only.
#pragma once

#include <windows.h>
#include <dinput.h>

#include <cstdint>

#include "input/input_state.h"
#include "input/window_context_win.h"

// Every device is shared and works only while the main window is in the foreground.
inline constexpr DWORD kCooperativeLevel = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
inline constexpr LONG kAxisMinimum = -1000;
inline constexpr LONG kAxisMaximum = 1000;

// Opens the devices for the context's window, hands their reads to polling and sets up
// the pads. False when the DirectInput object could not be created (after telling the
// user): polling then reads no devices and the pads stay unset. The layer reads the
// context only during the call.
bool InitInput(WindowContext* context);

// For a controller plugged in after start-up: when none was counted, enumerates the game
// controllers once more exactly as start-up does (same limit, same set-up of each, for
// the context's window) and gives those found their pads. Counted controllers are left
// as they are, and nothing happens without a DirectInput object. Returns the joystick
// count afterwards.
std::uint8_t FindLateJoysticks(WindowContext* context);

// The joystick step of start-up on its own, for the DirectInput object InitInput made:
// enumerates the attached game controllers (at most joyGetNumDevs' low 8 bits, capped at
// 16) into slots and sets up each one. False only when the enumeration itself failed;
// every controller is then released.
bool OpenJoysticks(WindowContext* context);

// The two platform calls the layer starts from. Tests replace them to hand the layer
// scripted DirectInput objects.
struct InputPlatform {
    HRESULT(WINAPI* direct_input_create)(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out,
                                         LPUNKNOWN outer);
    UINT(WINAPI* joystick_slots)();  // joyGetNumDevs
};

// nullptr restores DirectInput8Create and joyGetNumDevs. Returns the previous platform.
const InputPlatform* SetInputPlatform(const InputPlatform* platform);

// What the layer holds, for tests to look at.
struct InputDevices {
    IDirectInput8A* direct_input;
    IDirectInputDevice8A* keyboard;
    IDirectInputDevice8A* mouse;
    // In the order the platform reported the controllers; a slot is empty when its
    // controller's set-up failed.
    IDirectInputDevice8A* joysticks[kMaxJoysticks];
    std::uint8_t joystick_count;  // devices created during enumeration, failed set-ups included
    std::uint8_t joystick_limit;  // upper bound of the enumeration, 0 to 16
};
const InputDevices& OpenedInputDevices();
