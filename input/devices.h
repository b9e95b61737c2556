// The input layer's devices: DirectInput 8, the keyboard, the mouse and up to 16 game
// controllers, opened once at start-up and kept open for the life of the process.
// Windows only.
#pragma once

#include <windows.h>
#include <dinput.h>

#include <cstdint>

#include "input/input_state.h"
#include "input/window_context.h"

// Every device is shared and works only while the main window is in the foreground.
inline constexpr DWORD kCooperativeLevel = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
inline constexpr LONG kAxisMinimum = -1000;
inline constexpr LONG kAxisMaximum = 1000;

// The device state, empty at process start. The layer keeps the context pointer and
// reads the record while OpenInputDevices runs and when FindLateJoysticks opens a late
// controller; start-up owns it and frees it only after the message loop.
extern WindowContext* window_context;
extern IDirectInput8A* direct_input;
extern IDirectInputDevice8A* keyboard_device;
extern IDirectInputDevice8A* mouse_device;
// In the order the platform reported the controllers; a slot is empty when its
// controller's set-up failed.
extern IDirectInputDevice8A* joystick_devices[kMaxJoysticks];
extern std::uint8_t joystick_count;  // devices created during enumeration, failed set-ups included
extern std::uint8_t joystick_limit;  // upper bound of the enumeration, 0 to 16

// False only when the DirectInput object cannot be created (after telling the user);
// a device that fails is reported, if at all, by its own step.
bool OpenInputDevices(WindowContext* context);
bool OpenKeyboard();
bool OpenMouse();
// False only when the enumeration itself failed; every controller is then released.
bool OpenJoysticks();

// EnumDevices callback: creates the reported controller's device in the next slot.
BOOL CALLBACK OnJoystickFound(LPCDIDEVICEINSTANCEA instance, LPVOID context);
// EnumObjects callback: gives the reported axis of `device` the range -1000 to 1000.
BOOL CALLBACK SetAxisRange(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID device);

// The two platform calls the layer starts from. Tests replace them to hand the layer
// scripted DirectInput objects.
struct InputPlatform {
    HRESULT(WINAPI* direct_input_create)(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out,
                                         LPUNKNOWN outer);
    UINT(WINAPI* joystick_slots)();  // joyGetNumDevs
};

// nullptr restores DirectInput8Create and joyGetNumDevs. Returns the previous platform.
const InputPlatform* SetInputPlatform(const InputPlatform* platform);

// For tests only: releases whatever the layer holds, empties every slot, zeroes the
// counts and the polling tables and restores the platform, as at process start. The
// program itself never shuts the layer down.
void ResetInputForTesting();
