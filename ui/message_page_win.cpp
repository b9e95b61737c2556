// Function message page (placeholder: the frame only).
#include "ui/window.h"

INT_PTR CALLBACK MessagePageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    return FALSE;
}

void PopulateMessagePage(HWND) {}
void HarvestMessagePage(HWND) {}
