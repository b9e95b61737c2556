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

// After Windows reported that devices came or went: lets every controller go and
// enumerates them again as start-up does (one EnumDevices), so that the controllers and
// their pads are those attached now and the first one reported is the first. Nothing
// happens without a DirectInput object. Returns the joystick count afterwards.
std::uint8_t RescanJoysticks(WindowContext* context);

// A read of a controller fails after every loss of the foreground as well as when the
// controller was pulled out. So the first failure of a run asks DirectInput once whether
// the controller is still attached; when it says DI_NOTATTACHED, its device is let go at
// once and never read again. Once that happened to the first controller, this lets every
// controller go (none counted, the pads as with none), so that a Change or the next
// enumeration looks for what is left, and returns true; otherwise false. No enumeration.
bool ForgetLostJoysticks();

// The product name of the first controller as DirectInput reports it (UTF-16, as its
// wide device information gives it), or null when none is counted.
const wchar_t* FirstJoystickName();

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
    // Each counted controller's instance, as the enumeration reported it, and its
    // product name ("" until its device has told it).
    GUID joystick_guids[kMaxJoysticks];
    wchar_t joystick_names[kMaxJoysticks][MAX_PATH];
};
const InputDevices& OpenedInputDevices();
