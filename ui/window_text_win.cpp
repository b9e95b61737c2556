// Window text in UTF-16 with the program's CP932 texts converted explicitly.
#include "ui/window_text_win.h"

#include "text/cp932_text.h"

std::wstring WindowText(HWND window) {
    int capacity = GetWindowTextLengthW(window) + 1;  // an upper bound of the length
    std::wstring text(static_cast<std::size_t>(capacity), L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), capacity)));
    return text;
}

void SetCp932Text(HWND window, const char* text) { SetWindowTextW(window, WideFromCp932(text).c_str()); }
