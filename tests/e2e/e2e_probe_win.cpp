// A helper for the end-to-end scripts: tells what X cannot, from inside Wine.
//   e2e_probe acp            prints the system's ANSI code page (GetACP)
//   e2e_probe texts TITLE    prints the text of every control of the visible top-level
//                            window titled TITLE, one per line as "id<TAB>text" in UTF-8,
//                            a line break in a text written as \n
// Texts are read with WM_GETTEXT in UTF-16, which Wine carries across processes.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

void Write(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &length);
    std::wstring line = std::to_wstring(GetDlgCtrlID(control)) + L"\t";
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == L'\n') line += L"\\n";
        else if (*c != L'\r') line += *c;
    }
    Write(line + L"\n");
    return TRUE;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 2) return 2;
    const std::wstring command = args[1];
    if (command == L"acp") {
        Write(std::to_wstring(GetACP()) + L"\n");
        return 0;
    }
    if (command == L"texts" && count == 3) {
        HWND window = FindWindowW(nullptr, args[2]);
        if (window == nullptr || !IsWindowVisible(window)) return 1;
        EnumChildWindows(window, PrintControl, 0);
        return 0;
    }
    return 2;
}
