// The modal dialog that adds one address line to the list of the page shown.
// Windows only.
#pragma once

#include <windows.h>

#include "model/address_lists.h"

// Where the dialog adds its line, given by the page that pressed Add, and the list whose
// rules the line must keep (whether "*" is taken, what an empty slot is).
struct AddressDialogTarget {
    HWND list;
    AddressList rules;
};

// Opens the dialog over the main window and returns once it is closed.
void RunAddressDialog(const AddressDialogTarget& target);

// The dialog procedure; WM_INITDIALOG's parameter points to the AddressDialogTarget, which
// must outlive the dialog.
INT_PTR CALLBACK AddressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
