// dinput8.dll for the end-to-end tests: put beside a copy of the tool, it hands the real
// program the window tests' scripted DirectInput (keyboard, mouse and at most one
// controller), so that the program sees held buttons without a person or a device.
// The controller comes from the environment of the test script:
//   QOR_STAND_IN_PAD      its product name (UTF-8); unset or empty: no controller at all
//   QOR_STAND_IN_HELD     the buttons (0-based, 0 to 127) held at every read, space-separated
//   QOR_STAND_IN_PLUGGED  a file: the controller is plugged in while the file exists (looked
//                         at by every enumeration, status query and read); unset: always
//   QOR_STAND_IN_ENUM_MS  how long each enumeration takes, in milliseconds (default 0)
//   QOR_STAND_IN_LOG      a file to which each enumeration appends "EnumDevices" and each
//                         status query "GetDeviceStatus", one a line
#include <windows.h>
#include <dinput.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "win/fake_dinput.h"

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

class StandIn : public testing_support::FakeDirectInput {
public:
    std::wstring plugged_file;
    std::wstring log_file;

    HRESULT STDMETHODCALLTYPE EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                                          DWORD flags) override {
        Log("EnumDevices\n");
        FollowPlug();
        return FakeDirectInput::EnumDevices(type, callback, context, flags);
    }
    HRESULT STDMETHODCALLTYPE GetDeviceStatus(REFGUID guid) override {
        Log("GetDeviceStatus\n");
        FollowPlug();
        return FakeDirectInput::GetDeviceStatus(guid);
    }

    void FollowPlug() {
        if (plugged_file.empty() || controllers.empty()) return;
        controllers.front().attached = GetFileAttributesW(plugged_file.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    void Log(const char* line) const {
        if (log_file.empty()) return;
        HANDLE file = CreateFileW(log_file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
        CloseHandle(file);
    }
};

StandIn* MakeStandIn() {
    // Lives as long as the process: the tool never releases its devices.
    auto* stand_in = new StandIn;
    stand_in->enumeration_delay_ms = std::wcstoul(Environment(L"QOR_STAND_IN_ENUM_MS").c_str(), nullptr, 10);
    stand_in->log_file = Environment(L"QOR_STAND_IN_LOG");
    stand_in->plugged_file = Environment(L"QOR_STAND_IN_PLUGGED");
    const std::wstring name = Environment(L"QOR_STAND_IN_PAD");
    if (name.empty()) return stand_in;
    testing_support::FakeController& pad = stand_in->controllers.emplace_back();
    pad.guid = GUID{0x51524350, 0x0001, 0x0002, {0, 0, 0, 0, 0, 0, 0, 1}};
    pad.device.product_name = name;
    pad.device.axes = {DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0), DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1)};
    // A pad pulled out is seen at its next read, as a real one is.
    pad.device.script = [stand_in](testing_support::FakeDevice&, int) {
        stand_in->FollowPlug();
        return DI_OK;
    };
    const std::wstring held = Environment(L"QOR_STAND_IN_HELD");
    const wchar_t* at = held.c_str();
    wchar_t* end = nullptr;
    for (unsigned long button = std::wcstoul(at, &end, 10); end != at; button = std::wcstoul(at, &end, 10)) {
        if (button < sizeof pad.device.joystick.rgbButtons) pad.device.joystick.rgbButtons[button] = 0x80;
        at = end;
    }
    return stand_in;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD, REFIID iid, LPVOID* out,
                                                                    LPUNKNOWN) {
    static StandIn* stand_in = MakeStandIn();
    *out = nullptr;
    if (!IsEqualGUID(iid, IID_IDirectInput8A)) return E_NOINTERFACE;
    *out = static_cast<IDirectInput8A*>(stand_in);
    return DI_OK;
}
