// The function message page: eight chat macros, F1 to F8, each a text and a target.
#include <windows.h>

#include <cstring>

#include "config/game_config.h"
#include "ui/byte_limit_edit_win.h"
#include "ui/harvest_text_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"

namespace {

struct MessageRow {
    int text_edit;
    int everyone_button;  // "全体", target 0
    int team_button;      // "チーム", target 1
};

// One row per key, F1 to F8. The ids are not evenly spaced: 1078 is the reset button
// of the other pages.
constexpr MessageRow message_rows[kFunctionMessages] = {
    {IDC_MSG1_TEXT, IDC_MSG1_ALL, IDC_MSG1_TEAM},
    {IDC_MSG2_TEXT, IDC_MSG2_ALL, IDC_MSG2_TEAM},
    {IDC_MSG3_TEXT, IDC_MSG3_ALL, IDC_MSG3_TEAM},
    {IDC_MSG4_TEXT, IDC_MSG4_ALL, IDC_MSG4_TEAM},
    {IDC_MSG5_TEXT, IDC_MSG5_ALL, IDC_MSG5_TEAM},
    {IDC_MSG6_TEXT, IDC_MSG6_ALL, IDC_MSG6_TEAM},
    {IDC_MSG7_TEXT, IDC_MSG7_ALL, IDC_MSG7_TEAM},
    {IDC_MSG8_TEXT, IDC_MSG8_ALL, IDC_MSG8_TEAM},
};

void ShowMessage(HWND page, const MessageRow& row, const FunctionMessage& message) {
    HWND edit = GetDlgItem(page, row.text_edit);
    SendMessageA(edit, EM_LIMITTEXT, kMessageTextLimit, 0);
    LimitEditBytes(edit, kMessageTextLimit);
    // A damaged field may lack its NUL; the text is never read past the field.
    ShowStoredText(edit, message.text, sizeof message.text);
    int checked = message.target == 0 ? row.everyone_button : row.team_button;
    CheckRadioButton(page, row.everyone_button, row.team_button, checked);
}

void StoreMessage(HWND page, const MessageRow& row, FunctionMessage& message) {
    // The text in CP932, never cut in the middle of a double-byte character.
    const std::string text =
        HarvestedEditText(GetDlgItem(page, row.text_edit), message.text, sizeof message.text, kMessageTextLimit);
    // Only the text and its NUL are written; the bytes after the NUL carry nothing.
    std::memcpy(message.text, text.data(), text.size());
    message.text[text.size()] = '\0';
    message.target = IsDlgButtonChecked(page, row.team_button) == BST_CHECKED ? 1 : 0;
}


void PopulateMessagePage(HWND page) {
    for (std::size_t i = 0; i < kFunctionMessages; ++i)
        ShowMessage(page, message_rows[i], game_config.function_messages[i]);
}

bool HarvestMessagePage(HWND page) {
    for (std::size_t i = 0; i < kFunctionMessages; ++i)
        StoreMessage(page, message_rows[i], game_config.function_messages[i]);
    return true;
}

INT_PTR CALLBACK MessagePageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    TabFrame(page, message, wparam, lparam);
    return FALSE;
}

}  // namespace

const PageTableEntry message_page = {
    IDD_MESSAGE_PAGE, MessagePageProc, "ファンクションメッセージ", &message_page_texts,
    PopulateMessagePage, HarvestMessagePage,
};
