// Address list pages (placeholder: the frame only).
#include "ui/window.h"

INT_PTR CALLBACK ConnectPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    return FALSE;
}

INT_PTR CALLBACK AddressListPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    return FALSE;
}

void PopulateConnectPage(HWND) {}
void HarvestConnectPage(HWND) {}
void PopulateDeniedPage(HWND) {}
void HarvestDeniedPage(HWND) {}
void PopulateAllowedPage(HWND) {}
void HarvestAllowedPage(HWND) {}
