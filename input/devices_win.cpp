// Opening the DirectInput 8 devices at start-up, the DirectInput reads behind polling,
// and InitInput, which hands those reads to polling.
#include "input/devices_win.h"

#include <mmsystem.h>

#include <cstddef>
#include <initializer_list>

#include "message/error_message.h"

// The polling tables are read straight from the platform; the layouts must agree.
static_assert(sizeof(MouseStateData) == sizeof(DIMOUSESTATE2));
static_assert(offsetof(MouseStateData, rgbButtons) == offsetof(DIMOUSESTATE2, rgbButtons));
static_assert(sizeof(JoystickStateData) == sizeof(DIJOYSTATE2));
static_assert(offsetof(JoystickStateData, rgdwPOV) == offsetof(DIJOYSTATE2, rgdwPOV));
static_assert(offsetof(JoystickStateData, rgbButtons) == offsetof(DIJOYSTATE2, rgbButtons));
static_assert(offsetof(JoystickStateData, lVX) == offsetof(DIJOYSTATE2, lVX));
static_assert(offsetof(JoystickStateData, rglFSlider) == offsetof(DIJOYSTATE2, rglFSlider));

namespace {

// Everything the layer holds, empty at process start.
InputDevices devices;
IDirectInput8A*& direct_input = devices.direct_input;
IDirectInputDevice8A*& keyboard_device = devices.keyboard;
IDirectInputDevice8A*& mouse_device = devices.mouse;
IDirectInputDevice8A* (&joystick_devices)[kMaxJoysticks] = devices.joysticks;
std::uint8_t& joystick_count = devices.joystick_count;
std::uint8_t& joystick_limit = devices.joystick_limit;

// Per slot: a failed read has asked DirectInput about the controller since its last good
// read. And whether that answer said the first controller is gone.
bool status_asked[kMaxJoysticks] = {};
bool first_joystick_lost = false;

// DINPUT8 and WINMM are loaded when the input layer starts, after the main window is
// on screen, not at process load: importing them directly delays the window's first
// appearance by their load time.
HRESULT WINAPI LoadedDirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out,
                                        LPUNKNOWN outer) {
    using Create = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
    HMODULE library = LoadLibraryA("dinput8.dll");
    auto create = library != nullptr
                      ? reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "DirectInput8Create")))
                      : nullptr;
    if (create == nullptr) return E_FAIL;
    return create(instance, version, iid, out, outer);
}

UINT WINAPI LoadedJoyGetNumDevs() {
    using Count = UINT(WINAPI*)();
    HMODULE library = LoadLibraryA("winmm.dll");
    auto count = library != nullptr
                     ? reinterpret_cast<Count>(reinterpret_cast<void*>(GetProcAddress(library, "joyGetNumDevs")))
                     : nullptr;
    return count != nullptr ? count() : 0;
}

const InputPlatform real_platform = {LoadedDirectInput8Create, LoadedJoyGetNumDevs};
const InputPlatform* platform = &real_platform;

// The keyboard and the mouse open the same way and differ only in these.
struct SystemDevice {
    IDirectInputDevice8A** slot;
    const GUID* guid;
    const DIDATAFORMAT* format;
    MessageId creation_failed;
    MessageId format_failed;
    MessageId cooperation_failed;
};

const SystemDevice keyboard = {
    &keyboard_device,
    &GUID_SysKeyboard,
    &c_dfDIKeyboard,
    MessageId::kKeyboardCreateFailed,
    MessageId::kKeyboardFormatFailed,
    MessageId::kKeyboardSharingFailed,
};

const SystemDevice mouse = {
    &mouse_device,
    &GUID_SysMouse,
    &c_dfDIMouse2,
    MessageId::kMouseCreateFailed,
    MessageId::kMouseFormatFailed,
    MessageId::kMouseSharingFailed,
};

// A device that fails after creation stays in its slot, created but not acquired: its
// reads then fail harmlessly or deliver its state.
bool OpenSystemDevice(const SystemDevice& device, const WindowContext& context) {
    if (direct_input == nullptr) return false;
    if (FAILED(direct_input->CreateDevice(*device.guid, device.slot, nullptr))) {
        *device.slot = nullptr;
        ShowErrorMessage(device.creation_failed);
        return false;
    }
    IDirectInputDevice8A* created = *device.slot;
    if (FAILED(created->SetDataFormat(device.format))) {
        ShowErrorMessage(device.format_failed);
        return false;
    }
    if (FAILED(created->SetCooperativeLevel(context.main_window, kCooperativeLevel))) {
        ShowErrorMessage(device.cooperation_failed);
        return false;
    }
    created->Acquire();
    return true;
}

// EnumObjects callback: gives the reported axis of `device` the range -1000 to 1000.
BOOL CALLBACK SetAxisRange(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID device) {
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = object->dwType;
    range.diph.dwHow = DIPH_BYID;
    range.lMin = kAxisMinimum;
    range.lMax = kAxisMaximum;
    // A failure leaves the remaining axes at the device's own range; the device stays usable.
    if (FAILED(static_cast<IDirectInputDevice8A*>(device)->SetProperty(DIPROP_RANGE, &range.diph))) return DIENUM_STOP;
    return DIENUM_CONTINUE;
}

// The product name in UTF-16: the ANSI enumeration gives it in the system's code page,
// which loses a Japanese name on any other, so the device's wide interface is asked.
// Without one, only the ASCII of the reported name is kept.
void KeepJoystickName(int slot, const DIDEVICEINSTANCEA& reported) {
    wchar_t* name = devices.joystick_names[slot];
    name[0] = L'\0';
    IDirectInputDevice8W* wide = nullptr;
    if (SUCCEEDED(joystick_devices[slot]->QueryInterface(IID_IDirectInputDevice8W, reinterpret_cast<void**>(&wide))) &&
        wide != nullptr) {
        DIDEVICEINSTANCEW info{};
        info.dwSize = sizeof info;
        const bool told = SUCCEEDED(wide->GetDeviceInfo(&info));
        wide->Release();
        if (told) {
            lstrcpynW(name, info.tszProductName, MAX_PATH);
            return;
        }
    }
    int i = 0;
    for (; i < MAX_PATH - 1 && reported.tszProductName[i] != '\0'; ++i) {
        const auto byte = static_cast<unsigned char>(reported.tszProductName[i]);
        name[i] = byte < 0x80 ? static_cast<wchar_t>(byte) : L'?';
    }
    name[i] = L'\0';
}

// EnumDevices callback: creates the reported controller's device in the next slot.
BOOL CALLBACK OnJoystickFound(LPCDIDEVICEINSTANCEA instance, LPVOID) {
    // Checked before creating as well as after, so a limit of 0 opens nothing and the
    // slots hold at most joystick_limit devices whatever the enumeration does.
    if (joystick_count >= joystick_limit) return DIENUM_STOP;
    if (FAILED(direct_input->CreateDevice(instance->guidInstance, &joystick_devices[joystick_count], nullptr))) {
        joystick_devices[joystick_count] = nullptr;
        return DIENUM_STOP;
    }
    devices.joystick_guids[joystick_count] = instance->guidInstance;
    KeepJoystickName(joystick_count, *instance);
    ++joystick_count;
    return joystick_count < joystick_limit ? DIENUM_CONTINUE : DIENUM_STOP;
}

bool SetUpJoystick(IDirectInputDevice8A* device, const WindowContext& context) {
    if (FAILED(device->SetDataFormat(&c_dfDIJoystick2))) return false;
    if (FAILED(device->SetCooperativeLevel(context.main_window, kCooperativeLevel))) return false;
    if (FAILED(device->EnumObjects(SetAxisRange, device, DIDFT_AXIS))) return false;
    device->Acquire();
    return true;
}

void ReleaseJoystick(int slot) {
    status_asked[slot] = false;
    if (joystick_devices[slot] == nullptr) return;
    joystick_devices[slot]->Release();
    joystick_devices[slot] = nullptr;
}

// Reads one device; a failed read asks for the device again so that a later poll, once
// the window is back in the foreground, reads it normally.
bool ReadDevice(IDirectInputDevice8A* device, DWORD size, void* out) {
    if (device == nullptr) return false;
    if (FAILED(device->GetDeviceState(size, out))) {
        device->Acquire();
        return false;
    }
    return true;
}

std::uint8_t CountJoysticks() { return joystick_count; }

bool JoystickPresent(std::uint8_t slot) { return slot < kMaxJoysticks && joystick_devices[slot] != nullptr; }

bool ReadKeyboard(std::uint8_t* keys) { return ReadDevice(keyboard_device, kKeyCount, keys); }

bool ReadMouse(MouseStateData* state) { return ReadDevice(mouse_device, sizeof *state, state); }

// Only DI_NOTATTACHED says gone: a failed query, like a failed read, proves nothing.
bool StillAttached(std::uint8_t slot) {
    return direct_input->GetDeviceStatus(devices.joystick_guids[slot]) != DI_NOTATTACHED;
}

bool ReadJoystick(std::uint8_t slot, JoystickStateData* state) {
    if (!JoystickPresent(slot)) return false;
    joystick_devices[slot]->Poll();
    if (ReadDevice(joystick_devices[slot], sizeof *state, state)) {
        status_asked[slot] = false;
        return true;
    }
    if (status_asked[slot]) return false;
    status_asked[slot] = true;
    if (StillAttached(slot)) return false;
    ReleaseJoystick(slot);
    if (slot == 0) first_joystick_lost = true;
    return false;
}

void ReleaseDevices();

const DeviceReads direct_input_reads = {CountJoysticks, JoystickPresent, ReadKeyboard, ReadMouse, ReadJoystick,
                                        ReleaseDevices};

// False only when the DirectInput object cannot be created (after telling the user);
// a device that fails is reported, if at all, by its own step.
bool OpenInputDevices(WindowContext* context) {
    void* created = nullptr;
    if (FAILED(platform->direct_input_create(context->instance, DIRECTINPUT_VERSION, IID_IDirectInput8A, &created,
                                             nullptr))) {
        direct_input = nullptr;
        ShowErrorMessage(MessageId::kDirectInputFailed);
        return false;
    }
    direct_input = static_cast<IDirectInput8A*>(created);
    OpenSystemDevice(keyboard, *context);
    OpenSystemDevice(mouse, *context);
    OpenJoysticks(context);
    return true;
}

void ReleaseDevices() {
    for (int slot = 0; slot < kMaxJoysticks; ++slot) ReleaseJoystick(slot);
    for (IDirectInputDevice8A** device : {&keyboard_device, &mouse_device}) {
        if (*device != nullptr) (*device)->Release();
        *device = nullptr;
    }
    if (direct_input != nullptr) direct_input->Release();
    devices = InputDevices{};
    for (bool& asked : status_asked) asked = false;
    first_joystick_lost = false;
    platform = &real_platform;
}

}  // namespace

const InputPlatform* SetInputPlatform(const InputPlatform* replacement) {
    const InputPlatform* previous = platform;
    platform = replacement != nullptr ? replacement : &real_platform;
    return previous;
}

bool OpenJoysticks(WindowContext* context) {
    if (direct_input == nullptr) return false;
    const UINT limit = platform->joystick_slots() & 0xFF;
    joystick_limit = static_cast<std::uint8_t>(limit < kMaxJoysticks ? limit : kMaxJoysticks);

    if (FAILED(direct_input->EnumDevices(DI8DEVCLASS_GAMECTRL, OnJoystickFound, nullptr, DIEDFL_ATTACHEDONLY))) {
        for (int slot = 0; slot < kMaxJoysticks; ++slot) ReleaseJoystick(slot);
        joystick_count = 0;
        return false;
    }
    // A controller whose set-up fails keeps its index: the slot is emptied, not closed up,
    // so the joysticks after it keep theirs.
    for (int slot = 0; slot < joystick_count; ++slot) {
        if (!SetUpJoystick(joystick_devices[slot], *context)) ReleaseJoystick(slot);
    }
    for (int slot = joystick_count; slot < kMaxJoysticks; ++slot) joystick_devices[slot] = nullptr;
    return true;
}

// The reads are handed over first, so that the tests' reset releases whatever the start
// left behind, even when the DirectInput object could not be made.
bool InitInput(WindowContext* context) {
    SetDeviceReads(&direct_input_reads);
    if (!OpenInputDevices(context)) return false;
    InitPads();
    return true;
}

std::uint8_t FindLateJoysticks(WindowContext* context) {
    // Only from nothing: a counted controller, open or emptied by a failed set-up, keeps
    // its slot and its index, and the pads that read it stay as they are.
    if (direct_input == nullptr || joystick_count != 0) return joystick_count;
    if (!OpenJoysticks(context) || joystick_count == 0) return 0;
    InitPads();
    return joystick_count;
}

namespace {

void ForgetJoysticks() {
    for (int slot = 0; slot < kMaxJoysticks; ++slot) ReleaseJoystick(slot);
    joystick_count = 0;
    first_joystick_lost = false;
}

}  // namespace

std::uint8_t RescanJoysticks(WindowContext* context) {
    if (direct_input == nullptr || context == nullptr) return joystick_count;
    ForgetJoysticks();
    OpenJoysticks(context);
    // The pads follow the new count, as at start-up.
    InitPads();
    return joystick_count;
}

bool ForgetLostJoysticks() {
    if (!first_joystick_lost) return false;
    ForgetJoysticks();
    InitPads();
    return true;
}

const wchar_t* FirstJoystickName() { return joystick_count != 0 ? devices.joystick_names[0] : nullptr; }

const InputDevices& OpenedInputDevices() { return devices; }
