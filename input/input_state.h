// The input layer's portable half: the state tables the device reads fill, the virtual
// pads computed from them, the queries over both, and the seam through which polling
// reaches the devices.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int kMaxJoysticks = 16;
inline constexpr int kKeyCount = 256;
inline constexpr int kJoystickButtonCount = 128;
inline constexpr int kMouseButtonCount = 8;
inline constexpr int kPadActionButtons = 10;
inline constexpr int kPadKeyCount = 14;
// Pad 0 reads the keyboard and every counted joystick gets a pad of its own, so with 16
// joysticks there are 17 pads.
inline constexpr int kPadCapacity = kMaxJoysticks + 1;

// An axis reads -1000 to 1000; a direction counts only beyond this, strictly.
inline constexpr std::int32_t kAxisThreshold = 800;

// The mouse as the platform delivers it (same layout as DIMOUSESTATE2): movement since
// the previous read, and one byte per button.
struct MouseStateData {
    std::int32_t lX;
    std::int32_t lY;
    std::int32_t lZ;
    std::uint8_t rgbButtons[kMouseButtonCount];
};
static_assert(sizeof(MouseStateData) == 20);
static_assert(offsetof(MouseStateData, rgbButtons) == 12);

// A joystick as the platform delivers it (same layout as DIJOYSTATE2).
struct JoystickStateData {
    std::int32_t lX;
    std::int32_t lY;
    std::int32_t lZ;
    std::int32_t lRx;
    std::int32_t lRy;
    std::int32_t lRz;
    std::int32_t rglSlider[2];
    std::uint32_t rgdwPOV[4];
    std::uint8_t rgbButtons[kJoystickButtonCount];
    std::int32_t lVX, lVY, lVZ, lVRx, lVRy, lVRz;
    std::int32_t rglVSlider[2];
    std::int32_t lAX, lAY, lAZ, lARx, lARy, lARz;
    std::int32_t rglASlider[2];
    std::int32_t lFX, lFY, lFZ, lFRx, lFRy, lFRz;
    std::int32_t rglFSlider[2];
};
static_assert(sizeof(JoystickStateData) == 272);
static_assert(offsetof(JoystickStateData, rgdwPOV) == 32);
static_assert(offsetof(JoystickStateData, rgbButtons) == 48);
static_assert(offsetof(JoystickStateData, lVX) == 176);
static_assert(offsetof(JoystickStateData, rglFSlider) == 264);

// One pad's 16 buttons; the same bits for the keyboard pad and the joystick pads.
using PadButtons = std::uint16_t;
enum PadButtonBit : PadButtons {
    kPadUp = 0x0001,
    kPadDown = 0x0002,
    kPadLeft = 0x0004,
    kPadRight = 0x0008,
    kPadButton0 = 0x0010,  // action buttons 0 to 9 are bits 4 to 13
    kPadMouseLeft = 0x4000,
    kPadMouseRight = 0x8000,
};

struct VirtualPad {
    PadButtons pressed;   // set now, clear at the previous poll
    PadButtons held;      // set now
    PadButtons released;  // clear now, set at the previous poll
    PadButtons not_held;  // ~held
    std::uint8_t joystick_index;  // joystick a joystick pad read; stays 0 for the keyboard pad
};

// Device key codes the tool reads: the keyboard pad's keys, and Escape, which ends a
// key capture.
enum KeyCode : std::uint8_t {
    kKeyEscape = 0x01,
    kKeyQ = 0x10,
    kKeyW = 0x11,
    kKeyE = 0x12,
    kKeyReturn = 0x1C,
    kKeyA = 0x1E,
    kKeyS = 0x1F,
    kKeyD = 0x20,
    kKeyZ = 0x2C,
    kKeyX = 0x2D,
    kKeyC = 0x2E,
    kKeyUp = 0xC8,
    kKeyLeft = 0xCB,
    kKeyRight = 0xCD,
    kKeyDown = 0xD0,
};

// State tables, as the last poll left them (1 = down, 0 = up in every button byte).
extern std::uint8_t keyboard_state[kKeyCount];
extern MouseStateData mouse_state;
extern JoystickStateData joystick_states[kMaxJoysticks];  // entry i belongs to joystick slot i

// Pad tables. pad_count is 0 until InitPads runs, then joystick count + 1.
extern std::uint8_t pad_count;
extern VirtualPad pads[kPadCapacity];
extern std::int32_t pad_is_keyboard[kPadCapacity];
extern std::uint8_t button_maps[kMaxJoysticks][kPadActionButtons];  // by joystick, not pad
extern const std::uint8_t pad_keys[kPadKeyCount];                   // key of pad bits 0 to 13
extern const std::uint8_t default_button_map[kPadActionButtons];

// Where polling gets its device data: the input layer's one platform seam. Each read
// fills its buffer in the platform's raw form (button bytes with the high bit set when
// down) and returns true, or returns false when the device is absent or the read failed;
// after a failed read of a present device the platform has already been asked to acquire
// it again. Until a platform hands its reads over, polling reads no devices.
struct DeviceReads {
    std::uint8_t (*joystick_count)();             // joysticks counted, 0 to 16
    bool (*joystick_present)(std::uint8_t slot);  // slot holds an open device
    bool (*read_keyboard)(std::uint8_t* keys);    // 256 bytes
    bool (*read_mouse)(MouseStateData* mouse);
    bool (*read_joystick)(std::uint8_t slot, JoystickStateData* joystick);
    // Lets go of every device and returns the platform to its state at process start;
    // only the tests' reset calls it. May be null.
    void (*release)();
};

// Hands polling its device reads (the platform at start-up; tests and benchmarks feed
// scripted devices); nullptr goes back to no devices. Returns the previous table. The
// table must outlive its use.
const DeviceReads* SetDeviceReads(const DeviceReads* reads);

// Sets up the pads once the devices are open: pad 0 reads the keyboard, pad i reads
// joystick i - 1, every joystick's buttons 0 to 9 drive pad buttons 0 to 9.
void InitPads();

// The three device reads of a poll, then PollInput recomputes every pad.
void PollKeyboard();
void PollMouse();
void PollJoysticks();

std::uint8_t KeyState(std::uint8_t code);
const MouseStateData& MouseState();
// nullptr when the slot holds no device.
const JoystickStateData* JoystickState(std::uint8_t index);

// Bits 0 to 13 of the keyboard pad and of joystick `index`'s pad (0 for an empty slot).
PadButtons KeyboardPadButtons();
PadButtons JoystickPadButtons(std::uint8_t index);

// For tests only: releases what the platform holds, zeroes every table, unsets the pads
// and goes back to no devices, as at process start. The program itself never shuts the
// layer down.
void ResetInputForTesting();
