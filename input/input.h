// The input layer's operations for the rest of the tool: start-up and polling of the
// keyboard, the mouse and up to 16 game controllers, and queries over the last poll.
#pragma once

#include <cstdint>

struct WindowContext;

// Opens the devices for the context's window and sets up the pads. False when the
// DirectInput object could not be created (the pads then stay unset). Windows only.
bool InitInput(WindowContext* context);

// Reads every device once and recomputes every pad.
void PollInput();

// Number of game controllers found at start-up, including those whose set-up failed.
std::uint8_t JoystickCount();

// For a controller plugged in after start-up: when none was counted, enumerates the game
// controllers once more exactly as start-up does (same limit, same set-up of each) and
// gives those found their pads. Counted controllers are left as they are, and nothing
// happens without a DirectInput object. Returns JoystickCount afterwards. Windows only.
std::uint8_t FindLateJoysticks();

// 1 when `button` (0 to 127) of joystick `index` (0 to 15) was down at the last poll;
// 0 when it was up or the joystick's slot is empty.
std::uint8_t JoystickButton(std::uint8_t index, std::uint8_t button);
