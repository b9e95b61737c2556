// Options page (placeholder: the frame only).
#include "ui/window.h"

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    return FALSE;
}

void PopulateOptionsPage(HWND) {}
void HarvestOptionsPage(HWND) {}
