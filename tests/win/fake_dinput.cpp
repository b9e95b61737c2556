// Scripted DirectInput 8 objects and the platform hook that hands them to the input layer.
#include "win/fake_dinput.h"

#include <cstring>

#include "input/devices_win.h"
#include "input/input.h"

namespace testing_support {

namespace {

FakeInputSystem* active = nullptr;

HRESULT WINAPI FakeDirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out, LPUNKNOWN) {
    ++active->create_calls;
    active->create_instance = instance;
    active->create_version = version;
    active->create_asked_for_8a = IsEqualGUID(iid, IID_IDirectInput8A) != 0;
    *out = nullptr;
    if (FAILED(active->create_result)) return active->create_result;
    *out = static_cast<IDirectInput8A*>(&active->direct_input);
    return DI_OK;
}

UINT WINAPI FakeJoyGetNumDevs() { return active->joystick_slots; }

const InputPlatform fake_platform = {FakeDirectInput8Create, FakeJoyGetNumDevs};

}  // namespace

// --- FakeDevice ---

void FakeDevice::PressButtonFrom(int button, int first, int last) {
    auto previous = script;
    script = [previous, button, first, last](FakeDevice& device, int read) {
        HRESULT result = previous ? previous(device, read) : DI_OK;
        device.joystick.rgbButtons[button] = (read >= first && read <= last) ? 0x80 : 0x00;
        return result;
    };
}

void FakeDevice::FailReadsFrom(int first, int last, HRESULT failure) {
    auto previous = script;
    script = [previous, first, last, failure](FakeDevice& device, int read) {
        HRESULT result = previous ? previous(device, read) : DI_OK;
        return (read >= first && read <= last) ? failure : result;
    };
}

// The wide interface has the same methods in the same places; only the structures of
// the text-bearing ones differ, and GetDeviceInfo tells them apart by their size.
HRESULT FakeDevice::QueryInterface(REFIID iid, void** out) {
    *out = nullptr;
    if (!wide_interface || !IsEqualGUID(iid, IID_IDirectInputDevice8W)) return E_NOINTERFACE;
    ++wide_refs;
    *out = this;
    return S_OK;
}
ULONG FakeDevice::AddRef() {
    ++add_ref_calls;
    return 1;
}
ULONG FakeDevice::Release() {
    if (wide_refs > 0) {  // the wide interface going, not the device
        --wide_refs;
        return 1;
    }
    ++release_calls;
    calls.push_back("Release");
    return 0;
}

HRESULT FakeDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags) {
    calls.push_back("EnumObjects");
    enum_objects_flags = flags;
    enum_objects_context = context;
    for (DWORD type : axes) {
        DIDEVICEOBJECTINSTANCEA object{};
        object.dwSize = sizeof object;
        object.dwType = type;
        if (callback(&object, context) == DIENUM_STOP) break;
    }
    return enum_objects_result;
}

HRESULT FakeDevice::SetProperty(REFGUID property, LPCDIPROPHEADER header) {
    calls.push_back("SetProperty");
    const int index = set_property_calls++;
    if (&property == &DIPROP_RANGE && header->dwSize == sizeof(DIPROPRANGE)) {
        ranges.push_back(*reinterpret_cast<const DIPROPRANGE*>(header));
    }
    return index == set_property_fails_at ? DIERR_INVALIDPARAM : DI_OK;
}

HRESULT FakeDevice::Acquire() {
    calls.push_back("Acquire");
    ++acquire_calls;
    if (attached != nullptr && !*attached) return DIERR_UNPLUGGED;
    return acquire_result;
}

HRESULT FakeDevice::GetDeviceState(DWORD size, LPVOID data) {
    calls.push_back("GetDeviceState");
    const int read = ++reads;
    last_read_size = size;
    HRESULT result = script ? script(*this, read) : DI_OK;
    if (attached != nullptr && !*attached) result = DIERR_INPUTLOST;
    if (FAILED(result)) {
        std::memset(data, 0xCC, size);  // whatever a failed read leaves must not count
        return result;
    }
    if (size == sizeof keys) std::memcpy(data, keys, size);
    else if (size == sizeof mouse) std::memcpy(data, &mouse, size);
    else if (size == sizeof joystick) std::memcpy(data, &joystick, size);
    else return DIERR_INVALIDPARAM;
    return result;
}

HRESULT FakeDevice::SetDataFormat(LPCDIDATAFORMAT format) {
    calls.push_back("SetDataFormat");
    data_format = format;
    return set_data_format_result;
}

HRESULT FakeDevice::SetCooperativeLevel(HWND window, DWORD flags) {
    calls.push_back("SetCooperativeLevel");
    cooperative_window = window;
    cooperative_flags = flags;
    return set_cooperative_level_result;
}

HRESULT FakeDevice::Poll() {
    calls.push_back("Poll");
    ++poll_calls;
    return DI_NOEFFECT;
}

HRESULT FakeDevice::GetCapabilities(LPDIDEVCAPS) { return E_NOTIMPL; }
HRESULT FakeDevice::GetProperty(REFGUID, LPDIPROPHEADER) { return E_NOTIMPL; }
HRESULT FakeDevice::Unacquire() { return E_NOTIMPL; }
HRESULT FakeDevice::GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::SetEventNotification(HANDLE) { return E_NOTIMPL; }
HRESULT FakeDevice::GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA info) {
    if (info->dwSize != sizeof(DIDEVICEINSTANCEW)) return E_NOTIMPL;
    auto* wide = reinterpret_cast<DIDEVICEINSTANCEW*>(info);
    lstrcpynW(wide->tszProductName, product_name.c_str(), MAX_PATH);
    return DI_OK;
}
HRESULT FakeDevice::RunControlPanel(HWND, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::Initialize(HINSTANCE, DWORD, REFGUID) { return E_NOTIMPL; }
HRESULT FakeDevice::CreateEffect(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) { return E_NOTIMPL; }
HRESULT FakeDevice::EnumEffects(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::GetEffectInfo(LPDIEFFECTINFOA, REFGUID) { return E_NOTIMPL; }
HRESULT FakeDevice::GetForceFeedbackState(LPDWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::SendForceFeedbackCommand(DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) {
    return E_NOTIMPL;
}
HRESULT FakeDevice::Escape(LPDIEFFESCAPE) { return E_NOTIMPL; }
HRESULT FakeDevice::SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) { return E_NOTIMPL; }

// --- FakeDirectInput ---

HRESULT FakeDirectInput::QueryInterface(REFIID, void** out) {
    *out = nullptr;
    return E_NOINTERFACE;
}
ULONG FakeDirectInput::AddRef() { return 1; }
ULONG FakeDirectInput::Release() {
    ++release_calls;
    return 0;
}

HRESULT FakeDirectInput::CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN) {
    create_device_guids.push_back(guid);
    *out = nullptr;
    if (IsEqualGUID(guid, GUID_SysKeyboard)) {
        if (FAILED(create_keyboard_result)) return create_keyboard_result;
        *out = &keyboard;
        return DI_OK;
    }
    if (IsEqualGUID(guid, GUID_SysMouse)) {
        if (FAILED(create_mouse_result)) return create_mouse_result;
        *out = &mouse;
        return DI_OK;
    }
    for (FakeController& controller : controllers) {
        if (!IsEqualGUID(guid, controller.guid)) continue;
        if (FAILED(controller.create_result)) return controller.create_result;
        controller.device.attached = &controller.attached;
        *out = &controller.device;
        return DI_OK;
    }
    return DIERR_DEVICENOTREG;
}

HRESULT FakeDirectInput::EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID context, DWORD flags) {
    ++enum_devices_calls;
    if (enumeration_delay_ms != 0) Sleep(enumeration_delay_ms);
    enum_device_type = type;
    enum_flags = flags;
    enum_context = context;
    for (const FakeController& controller : controllers) {
        if (!controller.attached) continue;
        DIDEVICEINSTANCEA instance{};
        instance.dwSize = sizeof instance;
        instance.guidInstance = controller.guid;
        instance.dwDevType = DI8DEVTYPE_GAMEPAD;
        const std::wstring& name = controller.device.product_name;
        for (std::size_t i = 0; i < name.size() && i + 1 < MAX_PATH; ++i)
            instance.tszProductName[i] = name[i] < 0x80 ? static_cast<CHAR>(name[i]) : '?';
        ++controllers_reported;
        if (callback(&instance, context) == DIENUM_STOP && enumeration_honours_stop) break;
    }
    return enum_devices_result;
}

HRESULT FakeDirectInput::GetDeviceStatus(REFGUID guid) {
    ++device_status_calls;
    for (const FakeController& controller : controllers) {
        if (IsEqualGUID(guid, controller.guid)) return controller.attached ? DI_OK : DI_NOTATTACHED;
    }
    return DIERR_DEVICENOTREG;
}
HRESULT FakeDirectInput::RunControlPanel(HWND, DWORD) { return E_NOTIMPL; }
HRESULT FakeDirectInput::Initialize(HINSTANCE, DWORD) { return E_NOTIMPL; }
HRESULT FakeDirectInput::FindDevice(REFGUID, LPCSTR, LPGUID) { return E_NOTIMPL; }
HRESULT FakeDirectInput::EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID,
                                                DWORD) {
    return E_NOTIMPL;
}
HRESULT FakeDirectInput::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) {
    return E_NOTIMPL;
}

// --- FakeInputSystem ---

FakeInputSystem::FakeInputSystem() {
    ResetInputForTesting();
    active = this;
    SetInputPlatform(&fake_platform);
}

FakeInputSystem::~FakeInputSystem() {
    ResetInputForTesting();
    SetInputPlatform(nullptr);
    active = nullptr;
}

FakeDevice& FakeInputSystem::AddJoystick(HRESULT create_result) {
    FakeController& controller = direct_input.controllers.emplace_back();
    const auto number = static_cast<unsigned long>(direct_input.controllers.size());
    controller.guid = GUID{0x6a6f7900 + number, 0x0001, 0x0002, {0, 0, 0, 0, 0, 0, 0, static_cast<BYTE>(number)}};
    controller.create_result = create_result;
    controller.device.axes = {DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0), DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1)};
    return controller.device;
}

bool FakeInputSystem::Init(HWND window) {
    context.main_window = window;
    context.instance = GetModuleHandleA(nullptr);
    return InitInput(&context);
}

}  // namespace testing_support
