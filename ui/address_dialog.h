// The modal dialog that adds one address line to the list of the page shown.
// Windows only.
#pragma once

#include <windows.h>

// Opens the dialog over the main window and returns once it is closed. The dialog adds
// to list 1002 of current_page, and allows "*" unless that page is the connect-to page.
void RunAddressDialog();

INT_PTR CALLBACK AddressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
