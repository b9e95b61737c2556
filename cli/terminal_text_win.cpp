// Terminal text on Windows: UTF-8 and UTF-16 through the system's conversions; a console
// gets UTF-16 directly.
#include "cli/terminal_text.h"

#include <io.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include "text/cp932_text.h"

namespace {

std::wstring ToWide(UINT code_page, DWORD flags, std::string_view text, bool& ok) {
    ok = true;
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
    if (length <= 0) {
        ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(code_page, flags, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT code_page, std::wstring_view wide, bool& ok) {
    ok = true;
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    BOOL defaulted = FALSE;
    // UTF-8 takes no default character and cannot fail on valid UTF-16.
    BOOL* used_default = code_page == CP_UTF8 ? nullptr : &defaulted;
    const int length = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, used_default);
    if (length <= 0) {
        ok = false;
        return {};
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), size, out.data(), length, nullptr, used_default);
    ok = !defaulted;
    return out;
}

}  // namespace

std::string Utf8FromWide(std::wstring_view wide) {
    bool ok;
    return FromWide(CP_UTF8, wide, ok);
}

bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
    bool ok;
    wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, ok);
    return ok;
}

bool WriteTerminalText(std::FILE* stream, std::string_view utf8, bool always_utf8) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        bool ok;
        const std::wstring wide = ToWide(CP_UTF8, 0, utf8, ok);
        DWORD written = 0;
        return wide.empty() ||
               WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
    }
    const std::string out = always_utf8 ? std::string(utf8) : RedirectedText(utf8, GetConsoleOutputCP());
    return std::fwrite(out.data(), 1, out.size(), stream) == out.size();
}

std::string RedirectedText(std::string_view utf8, unsigned code_page) {
    if (code_page == 0 || code_page == CP_UTF8 || IsAscii(utf8)) return std::string(utf8);
    bool ok;
    std::string out = FromWide(code_page, ToWide(CP_UTF8, 0, utf8, ok), ok);
    // A text the code page cannot hold whole (Japanese under a Western code page, where
    // the Japanese face was chosen outright) goes out as UTF-8 rather than as question
    // marks: nothing the program says is lost.
    return ok ? out : std::string(utf8);
}

std::string ArgumentText(char** argv, int index) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || index >= count) {
        if (wide != nullptr) LocalFree(wide);
        return argv[index];
    }
    bool ok;
    std::string text = FromWide(CP_UTF8, wide[index], ok);
    LocalFree(wide);
    return text;
}

bool PathArgument(char** argv, int index, std::string& path) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || index >= count) {
        if (wide != nullptr) LocalFree(wide);
        path = argv[index];
        return true;
    }
    const std::wstring_view argument = wide[index];
    Cp932Prefix converted = Cp932FromWide(argument);
    const bool whole = converted.units == argument.size();
    LocalFree(wide);
    path = std::move(converted.bytes);
    return whole;
}

std::string PathText(const std::string& path) { return Cp932ToUtf8(path); }

std::FILE* OpenPathForWriting(const std::string& path) { return _wfopen(WideFromCp932(path).c_str(), L"wb"); }
