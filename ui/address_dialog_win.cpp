// The address dialog: four octet fields, checked in order, that become one list line.
#include "ui/address_dialog_win.h"

#include <optional>
#include <string>

#include "message/error_message.h"
#include "model/address_lists.h"
#include "model/address_text.h"
#include "ui/caption_fit_win.h"
#include "ui/language_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "ui/window_text_win.h"

namespace {

const int kOctetFieldIds[4] = {IDC_OCTET_1, IDC_OCTET_2, IDC_OCTET_3, IDC_OCTET_4};

// Reads the four fields; at the first invalid one the user is told and nothing is added,
// and the dialog stays open with every field as typed so the user can correct it.
void OnAdd(HWND dialog) {
    const auto* target = reinterpret_cast<const AddressDialogTarget*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (target == nullptr) return;
    const bool wildcard_allowed = ListRules(target->rules).wildcard_allowed;
    AddressPattern address;
    std::uint16_t* octets = address.octets;
    for (int field = 0; field < 4; ++field) {
        // Read as UTF-16: through the system's code page, a full-width digit would turn
        // into an ASCII one on some systems and not on others.
        const std::optional<std::uint16_t> octet =
            ReadOctetField(WindowText(GetDlgItem(dialog, kOctetFieldIds[field])), wildcard_allowed);
        if (!octet) {
            ShowErrorMessage(MessageId::kBadAddress);
            return;
        }
        octets[field] = *octet;
    }
    // What marks an empty slot would show now and be dropped by the next save without a word.
    if (IsEmptySlot(target->rules, address)) {
        ShowErrorMessage(MessageId::kBadAddress);
        return;
    }
    const std::string line = FormatAddressText(octets[0], octets[1], octets[2], octets[3]);
    // LB_ADDSTRING puts the line at its sorted place; the populated lines stay where they are.
    SendMessageA(target->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    EndDialog(dialog, IDOK);
}

// The dialog opens in the face the window shows, every caption whole. The focus goes to
// the first tab stop, the Add button, as the template orders it.
void OnInitDialog(HWND dialog) {
    if (current_language != Language::kJapanese) {
        ShowWindowTexts(dialog, IDD_ADDRESS_DIALOG, address_dialog_texts);
        SetCp932Text(dialog, address_dialog_texts.english_label);
    }
    WidenCutCaptions(dialog);
}

}  // namespace

void RunAddressDialog(const AddressDialogTarget& target) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ADDRESS_DIALOG), main_window, AddressDialogProc,
                    reinterpret_cast<LPARAM>(&target));
}

INT_PTR CALLBACK AddressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lparam);
            OnInitDialog(dialog);
            return TRUE;
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
