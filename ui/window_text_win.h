// Text in and out of windows in UTF-16, the program's CP932 texts converted with code page
// 932, so that they read the same whatever the system's code page is. Windows only.
#pragma once

#include <windows.h>

#include <string>

// The whole text of a window (a control's caption or an edit's contents).
std::wstring WindowText(HWND window);

// Sets a window's text from CP932 bytes (NUL-terminated).
void SetCp932Text(HWND window, const char* text);
