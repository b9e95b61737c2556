// Builds without DirectInput have no input devices: nothing is counted and every read
// reports the device absent, which polling turns into nothing held.
#include "input/input_state.h"

namespace {
std::uint8_t NoJoysticks() { return 0; }
bool NoJoystickInSlot(std::uint8_t) { return false; }
bool NoKeyboard(std::uint8_t*) { return false; }
bool NoMouse(MouseStateData*) { return false; }
bool NoJoystickRead(std::uint8_t, JoystickStateData*) { return false; }
}  // namespace

const DeviceReads platform_device_reads = {NoJoysticks, NoJoystickInSlot, NoKeyboard, NoMouse, NoJoystickRead};
