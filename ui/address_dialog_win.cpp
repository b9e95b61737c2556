// The address dialog: four octet fields, checked in order, that become one list line.
#include "ui/address_dialog.h"

#include <optional>
#include <string>

#include "config/error_message.h"
#include "ui/address_text.h"
#include "ui/language_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window.h"
#include "ui/window_text_win.h"

namespace {

const char kBadAddress[] = "IPが正しく入力されていません";

const int kOctetFieldIds[4] = {IDC_OCTET_1, IDC_OCTET_2, IDC_OCTET_3, IDC_OCTET_4};

// Reads the four fields; at the first invalid one the user is told and nothing is added,
// and the dialog stays open with every field as typed so the user can correct it.
void OnAdd(HWND dialog) {
    const bool wildcard_allowed = current_page != page_windows[kConnectPage];
    std::uint16_t octets[4];
    for (int field = 0; field < 4; ++field) {
        // Only the first three characters count; a few more bytes show that there are more.
        char text[8] = {};
        GetDlgItemTextA(dialog, kOctetFieldIds[field], text, sizeof text);
        std::optional<std::uint16_t> octet = ReadOctetField(text, wildcard_allowed);
        if (!octet) {
            ShowErrorMessage(kBadAddress);
            return;
        }
        octets[field] = *octet;
    }
    const std::string line = FormatAddressText(octets[0], octets[1], octets[2], octets[3]);
    // LB_ADDSTRING puts the line at its sorted place; the populated lines stay where they are.
    SendDlgItemMessageA(current_page, IDC_ADDRESS_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(line.c_str()));
    EndDialog(dialog, IDOK);
}

// The dialog opens in the face the window shows. The focus goes to the first tab stop,
// the Add button, as the template orders it.
void OnInitDialog(HWND dialog) {
    if (current_language == Language::kJapanese) return;
    ShowWindowTexts(dialog, address_dialog_texts);
    SetCp932Text(dialog, address_dialog_texts.english_label);
}

}  // namespace

void RunAddressDialog() {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ADDRESS_DIALOG), main_window, AddressDialogProc, 0);
}

INT_PTR CALLBACK AddressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
        case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK: OnAdd(dialog); return TRUE;
                case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}
