// The two handles start-up hands to the input layer.
#pragma once

#include <windows.h>

struct WindowContext {
    HWND main_window;
    HINSTANCE instance;
};
