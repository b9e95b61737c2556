// Key configuration page (placeholder: the frame only).
#include "ui/window.h"

INT_PTR CALLBACK KeyConfigPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    return FALSE;
}

void PopulateKeyConfigPage(HWND) {}
