// The three address pages: the connect-to table with its ID, and the denied and allowed
// lists, which share one page procedure and differ only in the slice they show.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "ui/config_file.h"
#include "text/cp932_text.h"
#include "message/error_message.h"
#include "config/game_config.h"
#include "ui/address_dialog_win.h"
#include "model/address_lists.h"
#include "model/address_text.h"
#include "ui/byte_limit_edit_win.h"
#include "ui/harvest_text_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "ui/window_text_win.h"

namespace {


// Room for any address line and more; longer text never comes from the pages.
constexpr int kLineBuffer = 64;

HWND ListBox(HWND page) { return GetDlgItem(page, IDC_ADDRESS_LIST); }

// A list that is filled or read line by line talks to the list's window procedure
// directly. A sent message also passes through every hook on the thread (the input
// layer's device library hooks the thread to follow activation), and under Wine each
// hooked message is a round trip to the window server: 65535 lines would take seconds.
// Lines are inserted in their wide form: they hold only ASCII digits, "." and "*", and
// the list keeps its text wide, so the conversion the ANSI message implies is skipped.
struct DirectList {
    explicit DirectList(HWND list)
        : window(list),
          procedure(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC))),
          wide_procedure(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC))) {}
    LRESULT Call(UINT message, WPARAM wparam, LPARAM lparam) const {
        return CallWindowProcA(procedure, window, message, wparam, lparam);
    }
    LRESULT CallWide(UINT message, WPARAM wparam, LPARAM lparam) const {
        return CallWindowProcW(wide_procedure, window, message, wparam, lparam);
    }
    HWND window;
    WNDPROC procedure;
    WNDPROC wide_procedure;
};

int LineCount(HWND list) {
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

// Empties the list and prepares it for `lines` lines. Redrawing stays off until
// EndFill, and the storage is reserved at once, so a list of tens of thousands of
// lines fills without repainting or regrowing for each one.
void BeginFill(HWND list, std::size_t lines) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(lines),
                 static_cast<LPARAM>(lines * (kAddressTextMax + 1)));
}

// Puts a line after the last one. An explicit index keeps the stored order even
// though the list sorts the lines the dialog adds.
void AppendLine(const DirectList& list, int index, const std::string& line) {
    wchar_t wide[kAddressTextMax + 1] = {};
    for (std::size_t i = 0; i < line.size() && i < kAddressTextMax; ++i) wide[i] = static_cast<unsigned char>(line[i]);
    list.CallWide(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide));
}

void EndFill(HWND list) {
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Line `index` of the list, read into `buffer`; an unreadable line reads as empty.
std::string_view ReadLine(const DirectList& list, int index, char (&buffer)[kLineBuffer]) {
    buffer[0] = '\0';
    LRESULT length = list.Call(LB_GETTEXTLEN, index, 0);
    if (length < 0 || length >= kLineBuffer) return {};
    list.Call(LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return std::string_view(buffer, strnlen(buffer, kLineBuffer));
}

void PopulatePatternList(HWND page, const std::vector<AddressPattern>& patterns) {
    HWND list = ListBox(page);
    BeginFill(list, patterns.size());
    const DirectList direct(list);
    int index = 0;
    for (const AddressPattern& p : patterns)
        AppendLine(direct, index++, FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3]));
    EndFill(list);
}

// Replaces `patterns` with the list's lines in list order. When the memory for the new
// array cannot be had, the old list stays and the harvest fails, which abandons the save.
bool HarvestPatternList(HWND page, std::vector<AddressPattern>& patterns) {
    HWND list = ListBox(page);
    const int count = LineCount(list);
    std::vector<AddressPattern> harvested;
    try {
        harvested.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const DirectList direct(list);
    for (int index = 0; index < count; ++index) {
        char buffer[kLineBuffer];
        const auto components = SplitAddressText(ReadLine(direct, index, buffer));
        for (int octet = 0; octet < 4; ++octet)
            harvested[index].octets[octet] = PatternOctetFromText(components[octet]);
    }
    patterns.swap(harvested);
    return true;
}

// Add opens the dialog on the page's list unless the list is full.
void OnAdd(HWND page, AddressList list) {
    if (static_cast<std::size_t>(LineCount(ListBox(page))) >= ListCapacity(list)) {
        ShowErrorMessage(MessageId::kListFull);
        return;
    }
    RunAddressDialog(AddressDialogTarget{ListBox(page), list});
}

void OnDelete(HWND page) {
    HWND list = ListBox(page);
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) SendMessageA(list, LB_DELETESTRING, selected, 0);
}

void OnCommand(HWND page, int id, AddressList list) {
    switch (id) {
        case IDC_ADDRESS_ADD: OnAdd(page, list); break;
        case IDC_ADDRESS_DELETE: OnDelete(page); break;
        default: break;
    }
}

INT_PTR CALLBACK ConnectPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    if (message == WM_COMMAND) OnCommand(page, LOWORD(wparam), AddressList::kConnect);
    return FALSE;
}

// The denied and allowed pages hold the same rules; the dialog adds to the page that got
// the command.
INT_PTR CALLBACK AddressListPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    if (message == WM_COMMAND) OnCommand(page, LOWORD(wparam), AddressList::kDenied);
    return FALSE;
}
// The ID up to its NUL, never past the field; then the filled slots in slot order.
void PopulateConnectPage(HWND page) {
    HWND list = ListBox(page);
    BeginFill(list, kConnectSlots);
    const DirectList direct(list);
    HWND id_edit = GetDlgItem(page, IDC_CONNECT_ID);
    // The ID has no length limit while it is edited, but only what CP932 holds goes in.
    LimitEditBytes(id_edit, kNoByteLimit);
    ShowStoredText(id_edit, game_config.connect_id, sizeof game_config.connect_id);
    int index = 0;
    for (const AddressPattern& p : ListEntries(game_config, AddressList::kConnect))
        AppendLine(direct, index++, FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3]));
    EndFill(list);
}

// The ID keeps at most 15 bytes and its NUL; the bytes after the NUL keep what they
// held. The lines fill the slots from the first on, and the slots left over are cleared.
bool HarvestConnectPage(HWND page) {
    const std::string id = HarvestedEditText(GetDlgItem(page, IDC_CONNECT_ID), game_config.connect_id,
                                             sizeof game_config.connect_id, kConnectIdTextMax);
    std::memcpy(game_config.connect_id, id.data(), id.size());
    game_config.connect_id[id.size()] = '\0';

    HWND list = ListBox(page);
    const int count = std::min(LineCount(list), static_cast<int>(ListCapacity(AddressList::kConnect)));
    const DirectList direct(list);
    std::vector<AddressPattern> entries(static_cast<std::size_t>(count));
    for (int line = 0; line < count; ++line) {
        char buffer[kLineBuffer];
        const auto components = SplitAddressText(ReadLine(direct, line, buffer));
        for (int octet = 0; octet < 4; ++octet) entries[line].octets[octet] = ConnectOctetFromText(components[octet]);
    }
    StoreEntries(game_config, AddressList::kConnect, entries);
    return true;
}

void PopulateDeniedPage(HWND page) { PopulatePatternList(page, game_config.denied_patterns); }

bool HarvestDeniedPage(HWND page) { return HarvestPatternList(page, game_config.denied_patterns); }

// A stored flag other than 0 or 1 (only a damaged file holds one) shows as checked.
void PopulateAllowedPage(HWND page) {
    CheckDlgButton(page, IDC_ALLOWED_ONLY, game_config.allowed_only != 0 ? BST_CHECKED : BST_UNCHECKED);
    PopulatePatternList(page, game_config.allowed_patterns);
}

bool HarvestAllowedPage(HWND page) {
    game_config.allowed_only = IsDlgButtonChecked(page, IDC_ALLOWED_ONLY) == BST_CHECKED ? 1 : 0;
    return HarvestPatternList(page, game_config.allowed_patterns);
}

}  // namespace

const PageTableEntry connect_page = {
    IDD_CONNECT_PAGE, ConnectPageProc, "接続先IP", &connect_page_texts,
    PopulateConnectPage, HarvestConnectPage,
};
const PageTableEntry denied_page = {
    IDD_DENIED_PAGE, AddressListPageProc, "拒否IP", &denied_page_texts,
    PopulateDeniedPage, HarvestDeniedPage,
};
const PageTableEntry allowed_page = {
    IDD_ALLOWED_PAGE, AddressListPageProc, "許可IP", &allowed_page_texts,
    PopulateAllowedPage, HarvestAllowedPage,
};
