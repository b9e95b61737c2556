// Stand-in for the input layer until it joins the build: no devices, nothing held.
#include "input/input.h"

bool InitInput(WindowContext*) { return true; }
void PollInput() {}
std::uint8_t JoystickCount() { return 0; }
std::uint8_t JoystickButton(std::uint8_t, std::uint8_t) { return 0; }
