// The input layer's portable operations for the rest of the tool: polling of the
// keyboard, the mouse and up to 16 game controllers, and queries over the last poll.
// Opening the devices is the platform's part (devices_win.h).
#pragma once

#include <cstdint>

// Reads every device once and recomputes every pad.
void PollInput();

// Number of game controllers counted (at start-up, or later when none was), including
// those whose set-up failed.
std::uint8_t JoystickCount();

// 1 when `button` (0 to 127) of joystick `index` (0 to 15) was down at the last poll;
// 0 when it was up or the joystick's slot is empty.
std::uint8_t JoystickButton(std::uint8_t index, std::uint8_t button);
