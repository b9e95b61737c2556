// Scripted DirectInput 8 objects for the Windows tests: a fake IDirectInput8A with a
// keyboard, a mouse and any number of attached controllers, each a fake
// IDirectInputDevice8A whose results, axes and per-read state a test sets, and
// FakeInputSystem, which hands them to the input layer.
//
// Typical uses:
//   FakeInputSystem input;                      // keyboard and mouse, no controller
//   input.AddJoystick().PressButtonFrom(3, 5);  // button 3 down from the 5th poll on
//   ASSERT_TRUE(input.Init(window));            // InitInput through the fakes
#pragma once

#include <windows.h>
#include <dinput.h>

#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "input/window_context_win.h"

namespace testing_support {

class FakeDevice : public IDirectInputDevice8A {
public:
    // Results the device gives; DI_OK unless a test changes them.
    HRESULT set_data_format_result = DI_OK;
    HRESULT set_cooperative_level_result = DI_OK;
    HRESULT enum_objects_result = DI_OK;  // returned after the axes were reported
    HRESULT acquire_result = DI_OK;
    // dwType of each axis EnumObjects reports, in order.
    std::vector<DWORD> axes;
    // Index into `axes` of the first axis whose SetProperty fails; -1 for none.
    int set_property_fails_at = -1;

    // The state GetDeviceState delivers, in the platform's raw form (0x80 = down). The
    // read size picks the layout: 256 bytes keys, DIMOUSESTATE2 mouse, DIJOYSTATE2 joystick.
    BYTE keys[256] = {};
    DIMOUSESTATE2 mouse = {};
    DIJOYSTATE2 joystick = {};
    // What GetDeviceInfo tells, through the wide interface that QueryInterface hands out
    // for IID_IDirectInputDevice8W (unless `wide_interface` is false); the enumeration
    // reports its ASCII, as the ANSI interface of a system with another code page would.
    std::wstring product_name = L"Fake Pad";
    bool wide_interface = true;
    int wide_refs = 0;  // wide interfaces handed out and not released; not counted below

    // Runs before every GetDeviceState with the 1-based read number; may change the
    // state above. A negative result fails that read (the buffer then holds garbage).
    std::function<HRESULT(FakeDevice& device, int read)> script;

    // Joystick button `button` reads down from read `first` to read `last`, inclusive.
    void PressButtonFrom(int button, int first, int last = std::numeric_limits<int>::max());
    // Every read from `first` to `last` fails with `result`.
    void FailReadsFrom(int first, int last = std::numeric_limits<int>::max(), HRESULT result = DIERR_NOTACQUIRED);

    // Whether the controller this device belongs to is plugged in (null for the keyboard
    // and the mouse). While it is not, reads fail with DIERR_INPUTLOST and Acquire with
    // DIERR_UNPLUGGED, as a real device's do.
    const bool* attached = nullptr;

    // What the layer did with the device.
    const DIDATAFORMAT* data_format = nullptr;
    HWND cooperative_window = nullptr;
    DWORD cooperative_flags = 0;
    DWORD enum_objects_flags = 0;
    void* enum_objects_context = nullptr;
    std::vector<DIPROPRANGE> ranges;  // every DIPROP_RANGE SetProperty, in order
    int set_property_calls = 0;
    int acquire_calls = 0;
    int poll_calls = 0;
    int reads = 0;
    DWORD last_read_size = 0;
    int add_ref_calls = 0;
    int release_calls = 0;
    std::vector<std::string> calls;  // method names in call order

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDirectInputDeviceA
    HRESULT STDMETHODCALLTYPE GetCapabilities(LPDIDEVCAPS) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                                          DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetProperty(REFGUID, LPDIPROPHEADER) override;
    HRESULT STDMETHODCALLTYPE SetProperty(REFGUID property, LPCDIPROPHEADER header) override;
    HRESULT STDMETHODCALLTYPE Acquire() override;
    HRESULT STDMETHODCALLTYPE Unacquire() override;
    HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) override;
    HRESULT STDMETHODCALLTYPE GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override;
    HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) override;
    HRESULT STDMETHODCALLTYPE SetEventNotification(HANDLE) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetDeviceInfo(LPDIDEVICEINSTANCEA) override;
    HRESULT STDMETHODCALLTYPE RunControlPanel(HWND, DWORD) override;
    HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD, REFGUID) override;
    // IDirectInputDevice2A
    HRESULT STDMETHODCALLTYPE CreateEffect(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override;
    HRESULT STDMETHODCALLTYPE EnumEffects(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetEffectInfo(LPDIEFFECTINFOA, REFGUID) override;
    HRESULT STDMETHODCALLTYPE GetForceFeedbackState(LPDWORD) override;
    HRESULT STDMETHODCALLTYPE SendForceFeedbackCommand(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override;
    HRESULT STDMETHODCALLTYPE Escape(LPDIEFFESCAPE) override;
    HRESULT STDMETHODCALLTYPE Poll() override;
    HRESULT STDMETHODCALLTYPE SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override;
    // IDirectInputDevice7A
    HRESULT STDMETHODCALLTYPE EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override;
    HRESULT STDMETHODCALLTYPE WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override;
    // IDirectInputDevice8A
    HRESULT STDMETHODCALLTYPE BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) override;
    HRESULT STDMETHODCALLTYPE SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) override;
};

// One game controller as EnumDevices reports it while it is attached.
struct FakeController {
    GUID guid;
    HRESULT create_result = DI_OK;  // CreateDevice with this controller's guid
    // Pulled out: EnumDevices skips it and GetDeviceStatus says DI_NOTATTACHED. Its
    // device stays alive, as a real one does while the layer holds it.
    bool attached = true;
    FakeDevice device;
};

class FakeDirectInput : public IDirectInput8A {
public:
    FakeDevice keyboard;
    FakeDevice mouse;
    HRESULT create_keyboard_result = DI_OK;
    HRESULT create_mouse_result = DI_OK;
    std::deque<FakeController> controllers;  // attached, in the order EnumDevices reports them
    HRESULT enum_devices_result = DI_OK;     // returned after the controllers were reported
    // A real enumeration ends when the callback says stop; a careless one may not.
    bool enumeration_honours_stop = true;
    // How long each EnumDevices takes, in a real Sleep before it reports anything: under
    // Wine an enumeration is instant, on Windows it can take from 15 ms to seconds.
    DWORD enumeration_delay_ms = 0;

    // What the layer asked of it.
    int enum_devices_calls = 0;
    DWORD enum_device_type = 0;
    DWORD enum_flags = 0;
    void* enum_context = nullptr;
    int controllers_reported = 0;
    std::vector<GUID> create_device_guids;
    int device_status_calls = 0;
    int release_calls = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDirectInput8A
    HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN outer) override;
    HRESULT STDMETHODCALLTYPE EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                                          DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetDeviceStatus(REFGUID) override;
    HRESULT STDMETHODCALLTYPE RunControlPanel(HWND, DWORD) override;
    HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD) override;
    HRESULT STDMETHODCALLTYPE FindDevice(REFGUID, LPCSTR, LPGUID) override;
    HRESULT STDMETHODCALLTYPE EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID,
                                                     DWORD) override;
    HRESULT STDMETHODCALLTYPE ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD,
                                               LPVOID) override;
};

// While it lives, the input layer starts from the fakes: DirectInput8Create hands out
// `direct_input` (or fails), joyGetNumDevs returns `joystick_slots`. Construction and
// destruction both reset the layer to its process-start state, so each test starts
// clean and leaves no pointer to a dead fake behind. One at a time.
class FakeInputSystem {
public:
    FakeInputSystem();
    ~FakeInputSystem();
    FakeInputSystem(const FakeInputSystem&) = delete;
    FakeInputSystem& operator=(const FakeInputSystem&) = delete;

    FakeDirectInput direct_input;
    HRESULT create_result = DI_OK;  // DirectInput8Create
    UINT joystick_slots = 16;       // joyGetNumDevs

    // What DirectInput8Create was called with.
    int create_calls = 0;
    HINSTANCE create_instance = nullptr;
    DWORD create_version = 0;
    bool create_asked_for_8a = false;

    // Attaches one more controller and returns its device for scripting.
    FakeDevice& AddJoystick(HRESULT create_result = DI_OK);
    FakeDevice& Joystick(int index) { return direct_input.controllers.at(index).device; }

    // Runs InitInput with a context naming `window` and this module's instance.
    bool Init(HWND window = nullptr);
    WindowContext context{};
};

}  // namespace testing_support
