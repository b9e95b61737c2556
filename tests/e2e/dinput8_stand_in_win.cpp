// dinput8.dll for the end-to-end tests: put beside a copy of the tool, it hands the real
// program the window tests' scripted DirectInput (keyboard, mouse and at most one
// controller), so that the program sees held buttons without a person or a device.
// The controller comes from the environment of the test script:
//   QOR_STAND_IN_PAD   its product name (UTF-8); unset or empty: no controller attached
//   QOR_STAND_IN_HELD  the buttons (0-based, 0 to 127) held at every read, space-separated
#include <windows.h>
#include <dinput.h>

#include <cwchar>
#include <string>

#include "win/fake_dinput.h"

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

testing_support::FakeDirectInput* MakeStandIn() {
    // Lives as long as the process: the tool never releases its devices.
    auto* direct_input = new testing_support::FakeDirectInput;
    const std::wstring name = Environment(L"QOR_STAND_IN_PAD");
    if (name.empty()) return direct_input;
    testing_support::FakeController& pad = direct_input->controllers.emplace_back();
    pad.guid = GUID{0x51524350, 0x0001, 0x0002, {0, 0, 0, 0, 0, 0, 0, 1}};
    pad.device.product_name = name;
    pad.device.axes = {DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0), DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1)};
    const std::wstring held = Environment(L"QOR_STAND_IN_HELD");
    const wchar_t* at = held.c_str();
    wchar_t* end = nullptr;
    for (unsigned long button = std::wcstoul(at, &end, 10); end != at; button = std::wcstoul(at, &end, 10)) {
        if (button < sizeof pad.device.joystick.rgbButtons) pad.device.joystick.rgbButtons[button] = 0x80;
        at = end;
    }
    return direct_input;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD, REFIID iid, LPVOID* out,
                                                                    LPUNKNOWN) {
    static testing_support::FakeDirectInput* stand_in = MakeStandIn();
    *out = nullptr;
    if (!IsEqualGUID(iid, IID_IDirectInput8A)) return E_NOINTERFACE;
    *out = static_cast<IDirectInput8A*>(stand_in);
    return DI_OK;
}
