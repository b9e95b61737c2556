// The modal dialog that adds one address line to the list of the page shown.
// Windows only.
#pragma once

#include <windows.h>

// Where the dialog adds its line, given by the page that pressed Add. Without wildcards
// (the connect-to list) 0.0.0.0 is refused too: an all-zero slot means an empty one.
struct AddressDialogTarget {
    HWND list;
    bool wildcard_allowed;
};

// Opens the dialog over the main window and returns once it is closed.
void RunAddressDialog(const AddressDialogTarget& target);

// The dialog procedure; WM_INITDIALOG's parameter points to the AddressDialogTarget, which
// must outlive the dialog.
INT_PTR CALLBACK AddressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
