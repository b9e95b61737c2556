// The connect-to, denied and allowed pages and the address dialog, driven in-process:
// what a stored file shows, what the dialog accepts and refuses, Delete, and the bytes
// a save writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "text/cp932_text.h"
#include "layout_check.h"
#include "support/config_layout.h"
#include "support/scratch_dir.h"
#include "ui/address_dialog_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_text_win.h"
#include "ui/window_win.h"
#include "dialog_template.h"
#include "window_fixture.h"

using config_layout::IdField;
using config_layout::kAllowedCountAt;
using config_layout::kAllowedOnlyAt;
using config_layout::kConnectAddressesAt;
using config_layout::kConnectIdAt;
using config_layout::Pattern;
using config_layout::Slice;
using testing_support::Hex;

namespace {

const char kBadAddress[] = "IPが正しく入力されていません";
const char kListFull[] = "既に最大件数登録されています";

// A version-272 file whose address parts each test sets; the rest is fixed: the default
// options, recognisable opaque words, no records, no messages.
struct FileLayout : config_layout::FileParts {
    FileLayout() : FileParts(config_layout::DefaultParts()) {
        opaque_word_1 = 0x11223344;
        opaque_word_2 = 0x55667788;
    }
};

// The address dialog is modal: Add does not return while it is open. A one-shot timer,
// dispatched by the dialog's own modal loop, plays the user's part: it notes what the
// dialog shows, types the four fields, presses a button, notes whether the dialog is
// still open, and cancels a dialog that is.
struct DialogScript {
    std::array<std::string, 4> fields;
    int button = IDOK;  // or kCloseBox
};

// The dialog's close box, which reaches the dialog as WM_CLOSE.
constexpr int kCloseBox = 0;

struct DialogVisit {
    bool opened = false;
    std::string caption;
    int focus_at_open = -1;  // id of the control that had the focus when the dialog showed
    std::array<std::string, 4> texts_at_open;
    bool open_after_press = false;
    std::array<std::string, 4> texts_after_press;
};

const int kOctetIds[4] = {IDC_OCTET_1, IDC_OCTET_2, IDC_OCTET_3, IDC_OCTET_4};
DialogScript script;
DialogVisit visit;

// A control's text in CP932, read in UTF-16 so that it reads the same on every code page.
std::string ItemText(HWND dialog, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return Cp932FromWide(text).bytes;
}

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM found) {
    char class_name[16] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (std::strcmp(class_name, "#32770") != 0 || GetWindow(window, GW_OWNER) != main_window) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The modal loop shows the dialog once its queue is empty, so a tick may come first.
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;  // again at the next tick
    KillTimer(nullptr, timer);
    visit.opened = true;
    visit.caption = Cp932FromWide(WindowText(dialog)).bytes;
    HWND focus = GetFocus();
    visit.focus_at_open = focus != nullptr && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : -1;
    for (int field = 0; field < 4; ++field) {
        visit.texts_at_open[field] = ItemText(dialog, kOctetIds[field]);
        SetDlgItemTextW(dialog, kOctetIds[field], WideFromCp932(script.fields[field]).c_str());
    }
    if (script.button == kCloseBox) {
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    } else {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(script.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, script.button)));
    }
    // Closing hides the dialog at once; the modal loop ends when this timer returns.
    visit.open_after_press = IsWindowVisible(dialog) != FALSE;
    for (int field = 0; field < 4; ++field) visit.texts_after_press[field] = ItemText(dialog, kOctetIds[field]);
    if (visit.open_after_press) SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// The style bits a dialog template gives each control, read from the extended template
// itself: the controls adjust some bits when they are created (an edit or a list trades
// WS_BORDER for a client edge, a list drops an unneeded scroll bar).
std::map<int, DWORD> TemplateItemStyles(int dialog_id) {
    return ReadDialogTemplate(dialog_id).item_styles;
}

class AddressPagesTest : public WindowFixture {
protected:
    // The Japanese face on every code page: the dialog table also runs under 1252.
    const wchar_t* StoredLanguage() const override { return L"ja"; }

    void PrepareConfig() override {
        if (layout_) folder_->WriteConfig(layout_->Bytes());
    }

    // Starts the tool on a file holding `layout`.
    void Start(const FileLayout& layout) {
        TearDown();
        layout_ = layout;
        SetUp();
    }

    std::vector<std::string> Lines(int page) const {
        HWND list = Control(page, IDC_ADDRESS_LIST);
        std::vector<std::string> lines;
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.emplace_back(text);
        }
        return lines;
    }

    // Shows `page`, presses its Add button and lets `dialog_script` answer the dialog.
    // The command carries `notification` in its high word (a click's BN_CLICKED unless told).
    DialogVisit AddThroughDialog(int page, const DialogScript& dialog_script, WORD notification = BN_CLICKED) {
        SelectTab(page);
        PumpMessages();
        script = dialog_script;
        visit = DialogVisit{};
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, DriveDialog);
        SendCommand(page, IDC_ADDRESS_ADD, notification);
        KillTimer(nullptr, timer);
        return visit;
    }

    void SendCommand(int page, int id, WORD notification) {
        SendMessageA(Page(page), WM_COMMAND, MAKEWPARAM(id, notification),
                     reinterpret_cast<LPARAM>(Control(page, id)));
        PumpMessages();
    }

    std::vector<std::uint8_t> Save() {
        Command(kConnectPage, IDC_SAVE);
        return folder_->ReadConfig();
    }

    std::optional<FileLayout> layout_;
};

TEST_F(AddressPagesTest, TemplatesCarryTheListStylesAndTheirOwnControls) {
    for (int page : {kConnectPage, kDeniedPage, kAllowedPage}) {
        SCOPED_TRACE(page);
        const int templates[] = {0, IDD_CONNECT_PAGE, IDD_DENIED_PAGE, IDD_ALLOWED_PAGE};
        std::map<int, DWORD> styles = TemplateItemStyles(templates[page]);
        ASSERT_EQ(styles.count(IDC_ADDRESS_LIST), 1u);
        const DWORD style = styles[IDC_ADDRESS_LIST];
        const DWORD wanted = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP;
        EXPECT_EQ(style & wanted, wanted);
        EXPECT_EQ(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE), 0u);
        EXPECT_EQ(ItemText(Page(page), IDC_ADDRESS_ADD), "追加");
        EXPECT_EQ(ItemText(Page(page), IDC_ADDRESS_DELETE), "削除");
        EXPECT_EQ(Control(page, IDC_CONNECT_ID) != nullptr, page == kConnectPage);
        EXPECT_EQ(Control(page, IDC_ALLOWED_ONLY) != nullptr, page == kAllowedPage);
    }
    EXPECT_EQ(ItemText(Page(kAllowedPage), IDC_ALLOWED_ONLY), "接続許可IPを使用する");
    EXPECT_EQ(GetWindowLongA(Control(kAllowedPage, IDC_ALLOWED_ONLY), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    EXPECT_EQ(TemplateItemStyles(IDD_CONNECT_PAGE)[IDC_CONNECT_ID] & (edit | ES_MULTILINE), edit);
}

struct Placement {
    int id;
    RECT units;  // left, top, width, height in dialog units
};

void ExpectPlacements(HWND window, const std::vector<Placement>& placements) {
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.id);
        HWND control = GetDlgItem(window, p.id);
        ASSERT_NE(control, nullptr);
        ExpectPlacedAt(window, control, p.units);
    }
}

TEST_F(AddressPagesTest, ControlsStandWhereTheTemplatesPlaceThem) {
    const std::vector<Placement> list_controls = {
        {IDC_ADDRESS_LIST, {15, 54, 180, 204}},
        {IDC_ADDRESS_ADD, {101, 264, 42, 14}},
        {IDC_ADDRESS_DELETE, {153, 264, 42, 14}},
    };
    ExpectPlacements(Page(kDeniedPage), list_controls);
    std::vector<Placement> allowed = list_controls;
    allowed.push_back({IDC_ALLOWED_ONLY, {15, 26, 89, 10}});
    ExpectPlacements(Page(kAllowedPage), allowed);
    std::vector<Placement> connect = list_controls;
    connect.push_back({IDC_CONNECT_ID, {15, 28, 168, 12}});
    ExpectPlacements(Page(kConnectPage), connect);

    // The controls without an id: the list's caption on every page, the ID's group box.
    const PlacedControl list_caption = {-1, "Static", "IPリスト", {15, 46, 24, 8}, SS_LEFT, 0};
    for (int page : {kConnectPage, kDeniedPage, kAllowedPage}) {
        SCOPED_TRACE(page);
        ExpectLayout(Page(page), &list_caption, 1);
    }
    const PlacedControl id_group = {-1, "Button", "ID", {11, 18, 184, 27}, BS_GROUPBOX, 0};
    ExpectLayout(Page(kConnectPage), &id_group, 1);
    for (int page : {kDeniedPage, kAllowedPage}) EXPECT_EQ(FindWindowExA(Page(page), nullptr, "Button", "ID"), nullptr);
}

// The dialog's template, opened modeless here so that it can be looked at unhurried.
TEST_F(AddressPagesTest, DialogTemplateHasItsCaptionFieldsAndTabOrder) {
    const AddressDialogTarget target = {GetDlgItem(Page(kDeniedPage), IDC_ADDRESS_LIST), true};
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_ADDRESS_DIALOG), main_window,
                                     AddressDialogProc, reinterpret_cast<LPARAM>(&target));
    ASSERT_NE(dialog, nullptr);
    char caption[32] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "追加IP");
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    const LONG wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & wanted, wanted);
    RECT size = {0, 0, 141, 60};
    MapDialogRect(dialog, &size);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    ExpectPlacements(dialog, {{IDOK, {34, 35, 45, 14}},
                              {IDCANCEL, {83, 35, 45, 14}},
                              {IDC_OCTET_1, {10, 19, 22, 12}},
                              {IDC_OCTET_2, {42, 19, 22, 12}},
                              {IDC_OCTET_3, {74, 19, 22, 12}},
                              {IDC_OCTET_4, {106, 19, 22, 12}}});
    EXPECT_EQ(ItemText(dialog, IDOK), "追加");
    EXPECT_EQ(ItemText(dialog, IDCANCEL), "キャンセル");
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    const PlacedControl statics[] = {
        {-1, "Static", "IP", {12, 9, 8, 8}, SS_LEFT, 0},
        {-1, "Static", ".", {34, 24, 8, 8}, SS_LEFT, 0},
        {-1, "Static", ".", {66, 24, 8, 8}, SS_LEFT, 0},
        {-1, "Static", ".", {98, 24, 8, 8}, SS_LEFT, 0},
    };
    ExpectLayout(dialog, statics, std::size(statics));
    // Tab goes from the buttons to the fields in field order, and round again.
    const int tab_order[] = {IDOK, IDCANCEL, IDC_OCTET_1, IDC_OCTET_2, IDC_OCTET_3, IDC_OCTET_4, IDOK};
    HWND item = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (int id : tab_order) {
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(GetDlgCtrlID(item), id);
        item = GetNextDlgTabItem(dialog, item, FALSE);
    }
    std::map<int, DWORD> styles = TemplateItemStyles(IDD_ADDRESS_DIALOG);
    const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    for (int id : kOctetIds) EXPECT_EQ(styles[id] & (edit | ES_MULTILINE | ES_NUMBER), edit) << id;
    DestroyWindow(dialog);
}

// The dialog procedure's answers, called directly on a dialog made modeless here, so that
// no modal loop stands between the test and each return value. TRUE tells the dialog
// manager a message was handled (for WM_INITDIALOG: put the focus on the first tab stop).
TEST_F(AddressPagesTest, DialogProcedureHandlesOnlyItsOwnMessages) {
    SelectTab(kDeniedPage);
    const struct {
        const char* name;
        UINT message;
        WPARAM wparam;
        INT_PTR result;
        bool ends;  // the dialog is ended (hidden) afterwards
        std::vector<std::string> messages;
    } cases[] = {
        {"WM_INITDIALOG", WM_INITDIALOG, 0, TRUE, false, {}},
        {"WM_CLOSE", WM_CLOSE, 0, TRUE, true, {}},
        {"Add with the fields empty", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), TRUE, false, {kBadAddress}},
        {"Add with another code", WM_COMMAND, MAKEWPARAM(IDOK, BN_DOUBLECLICKED), TRUE, false, {kBadAddress}},
        {"Cancel", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), TRUE, true, {}},
        {"Cancel with another code", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234), TRUE, true, {}},
        {"a field's EN_CHANGE", WM_COMMAND, MAKEWPARAM(IDC_OCTET_1, EN_CHANGE), FALSE, false, {}},
        {"a field's EN_SETFOCUS", WM_COMMAND, MAKEWPARAM(IDC_OCTET_4, EN_SETFOCUS), FALSE, false, {}},
        {"WM_NULL", WM_NULL, 0, FALSE, false, {}},
        {"WM_TIMER", WM_TIMER, 1, FALSE, false, {}},
        {"WM_LBUTTONDOWN", WM_LBUTTONDOWN, 0, FALSE, false, {}},
    };
    const AddressDialogTarget target = {GetDlgItem(Page(kDeniedPage), IDC_ADDRESS_LIST), true};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder_->Clear();
        HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_ADDRESS_DIALOG), main_window,
                                         AddressDialogProc, reinterpret_cast<LPARAM>(&target));
        ASSERT_NE(dialog, nullptr);
        ShowWindow(dialog, SW_SHOW);
        const LPARAM lparam = c.message == WM_COMMAND       ? reinterpret_cast<LPARAM>(GetDlgItem(dialog, LOWORD(c.wparam)))
                              : c.message == WM_INITDIALOG ? reinterpret_cast<LPARAM>(&target)
                                                           : 0;
        EXPECT_EQ(AddressDialogProc(dialog, c.message, c.wparam, lparam), c.result);
        EXPECT_EQ(IsWindowVisible(dialog) == FALSE, c.ends);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_TRUE(Lines(kDeniedPage).empty());
        DestroyWindow(dialog);
    }
}

// The pages look only at the control id of a command, whatever notification it carries.
TEST_F(AddressPagesTest, AddAndDeleteActWhateverTheNotificationCode) {
    FileLayout layout;
    layout.connect[0] = {7, 7, 7, 7};
    layout.denied = {{1, 1, 1, 1}, {2, 2, 2, 2}};
    layout.allowed = {{3, 3, 3, 3}, {4, 4, 4, 4}};
    Start(layout);
    const struct {
        int page;
        WORD code;
        std::vector<std::string> after_add;
        std::vector<std::string> after_delete;  // line 0 selected and deleted
    } cases[] = {
        {kConnectPage, BN_DOUBLECLICKED, {"7.7.7.7", "9.9.9.9"}, {"9.9.9.9"}},
        {kDeniedPage, 0x1234, {"1.1.1.1", "2.2.2.2", "9.9.9.9"}, {"2.2.2.2", "9.9.9.9"}},
        {kAllowedPage, 0xFFFF, {"3.3.3.3", "4.4.4.4", "9.9.9.9"}, {"4.4.4.4", "9.9.9.9"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const DialogVisit seen = AddThroughDialog(c.page, {{"9", "9", "9", "9"}}, c.code);
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(Lines(c.page), c.after_add);
        SendMessageA(Control(c.page, IDC_ADDRESS_LIST), LB_SETCURSEL, 0, 0);
        SendCommand(c.page, IDC_ADDRESS_DELETE, c.code);
        EXPECT_EQ(Lines(c.page), c.after_delete);
    }
    EXPECT_TRUE(Messages().empty());
}

struct DialogCase {
    const char* name;
    int page;
    DialogScript typed;
    std::vector<std::string> lines_after;  // empty when the dialog must refuse
};

// Every case starts from the same stored lines: 1.1.1.1 and 2.2.2.2 on each list.
TEST_F(AddressPagesTest, DialogAddsValidAddressesAndRefusesTheRest) {
    FileLayout layout;
    layout.connect[0] = {1, 1, 1, 1};
    layout.connect[1] = {2, 2, 2, 2};
    layout.allowed = {{1, 1, 1, 1}, {2, 2, 2, 2}};
    layout.denied = layout.allowed;
    const std::vector<std::string> stored = {"1.1.1.1", "2.2.2.2"};
    const DialogCase cases[] = {
        {"wildcard and leading zeros", kDeniedPage, {{"192", "168", "*", "001"}}, {"1.1.1.1", "192.168.*.1", "2.2.2.2"}},
        {"wildcard on the allowed page", kAllowedPage, {{"3", "0", "0", "*"}}, {"1.1.1.1", "2.2.2.2", "3.0.0.*"}},
        {"connect-to address", kConnectPage, {{"10", "0", "0", "1"}}, {"1.1.1.1", "10.0.0.1", "2.2.2.2"}},
        {"first three characters", kDeniedPage, {{"0", "255", "1234", "007"}}, {"0.255.123.7", "1.1.1.1", "2.2.2.2"}},
        {"wildcard on the connect page", kConnectPage, {{"192", "168", "*", "1"}}, {}},
        {"empty first field", kDeniedPage, {{"", "1", "2", "3"}}, {}},
        {"above 255", kAllowedPage, {{"1", "2", "256", "3"}}, {}},
        {"two asterisks", kDeniedPage, {{"1", "**", "2", "3"}}, {}},
        {"asterisk and digit", kDeniedPage, {{"1", "2", "3", "*1"}}, {}},
        {"minus sign", kAllowedPage, {{"-1", "2", "3", "4"}}, {}},
        {"letter", kConnectPage, {{"1", "2", "3", "12x"}}, {}},
        {"full-width digit", kDeniedPage, {{"\x82\x50", "2", "3", "4"}}, {}},  // "１"
        {"full-width digit after ASCII ones", kAllowedPage, {{"1", "2", "3", "1\x82\x51"}}, {}},
        {"all zeros, an empty connect-to slot", kConnectPage, {{"0", "00", "000", "0"}}, {}},
        {"all zeros on the denied page", kDeniedPage, {{"0", "0", "0", "0"}}, {"0.0.0.0", "1.1.1.1", "2.2.2.2"}},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start(layout);
        const DialogVisit seen = AddThroughDialog(c.page, c.typed);
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(seen.caption, "追加IP");
        EXPECT_EQ(seen.texts_at_open, (std::array<std::string, 4>{}));
        EXPECT_EQ(seen.focus_at_open, IDOK);  // the first tab stop, not the first field
        for (int page : {kConnectPage, kDeniedPage, kAllowedPage}) {
            if (page == c.page && !c.lines_after.empty()) {
                EXPECT_EQ(Lines(page), c.lines_after);
            } else {
                EXPECT_EQ(Lines(page), stored) << "page " << page;
            }
        }
        if (c.lines_after.empty()) {
            EXPECT_EQ(Messages(), std::vector<std::string>{kBadAddress});
            EXPECT_TRUE(seen.open_after_press);
            EXPECT_EQ(seen.texts_after_press, c.typed.fields);
        } else {
            EXPECT_TRUE(Messages().empty());
            EXPECT_FALSE(seen.open_after_press);
        }
    }
}

TEST_F(AddressPagesTest, AddedWildcardLineIsSavedAsOctet256) {
    const DialogVisit seen = AddThroughDialog(kDeniedPage, {{"192", "168", "*", "001"}});
    ASSERT_TRUE(seen.opened);
    const std::vector<std::uint8_t> bytes = Save();
    ASSERT_EQ(bytes.size(), config_layout::FileSize(0, 1));
    EXPECT_EQ(Slice(bytes, kAllowedCountAt, 12), Hex("0000  0100 c000 a800 0001 0100"));  // no allowed lines; one denied line
}

TEST_F(AddressPagesTest, CancelAndCloseChangeNothing) {
    for (int button : {IDCANCEL, kCloseBox}) {
        SCOPED_TRACE(button);
        const DialogVisit seen = AddThroughDialog(kDeniedPage, {{"1", "2", "3", "4"}, button});
        ASSERT_TRUE(seen.opened);
        EXPECT_FALSE(seen.open_after_press);
    }
    EXPECT_TRUE(Lines(kDeniedPage).empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AddressPagesTest, ConnectPageTakesTwentyFourLinesAtMost) {
    FileLayout layout;
    for (std::uint8_t slot = 0; slot < 23; ++slot) layout.connect[slot] = {10, 0, 0, static_cast<std::uint8_t>(slot + 1)};
    Start(layout);
    ASSERT_EQ(Lines(kConnectPage).size(), 23u);

    DialogVisit seen = AddThroughDialog(kConnectPage, {{"10", "0", "0", "99"}});
    EXPECT_TRUE(seen.opened);
    ASSERT_EQ(Lines(kConnectPage).size(), 24u);
    EXPECT_TRUE(Messages().empty());

    seen = AddThroughDialog(kConnectPage, {{"10", "0", "0", "98"}});
    EXPECT_FALSE(seen.opened);
    EXPECT_EQ(Messages(), std::vector<std::string>{kListFull});
    EXPECT_EQ(Lines(kConnectPage).size(), 24u);

    const std::vector<std::uint8_t> bytes = Save();
    for (std::size_t slot = 0; slot < 24; ++slot)
        EXPECT_NE(bytes[kConnectAddressesAt + slot * 4], 0) << "slot " << slot;
}

TEST_F(AddressPagesTest, ConnectLinesAreCompactedIntoTheFirstSlots) {
    FileLayout layout;
    layout.connect[0] = {192, 168, 0, 1};
    layout.connect[5] = {10, 20, 30, 40};
    Start(layout);
    EXPECT_EQ(Lines(kConnectPage), (std::vector<std::string>{"192.168.0.1", "10.20.30.40"}));

    // A line of zeros would be saved as an empty slot: the dialog refuses it.
    const DialogVisit zeros = AddThroughDialog(kConnectPage, {{"0", "0", "0", "000"}});
    ASSERT_TRUE(zeros.opened);
    EXPECT_TRUE(zeros.open_after_press);
    EXPECT_EQ(Messages(), std::vector<std::string>{kBadAddress});
    EXPECT_EQ(Lines(kConnectPage), (std::vector<std::string>{"192.168.0.1", "10.20.30.40"}));
    const std::vector<std::uint8_t> bytes = Save();
    std::vector<std::uint8_t> expected(96, 0);
    const std::uint8_t slot0[] = {192, 168, 0, 1}, slot1[] = {10, 20, 30, 40};
    std::memcpy(&expected[0], slot0, 4);
    std::memcpy(&expected[4], slot1, 4);
    EXPECT_EQ(Slice(bytes, kConnectAddressesAt, config_layout::kConnectAddressesBytes), expected);
}

struct IdCase {
    const char* name;
    std::string stored;  // 17 bytes
    std::string shown;   // the edit's text after start-up
    std::string typed;
    std::string saved;   // 17 bytes
};

TEST_F(AddressPagesTest, IdKeepsFifteenBytesAndTheBytesAfterItsNul) {
    const std::string kana = "\x83\x41";
    // A stored ID without a NUL shows all 17 bytes, never more; one with a NUL inside
    // shows the text before it.
    const IdCase cases[] = {
        {"twenty bytes", std::string(16, 'x') + "y", std::string(16, 'x') + "y", "abcdefghijklmnopqrst",
         std::string("abcdefghijklmno") + '\0' + "y"},
        {"short", std::string("0123456789abcdef") + "g", "0123456789abcdefg", "ab",
         std::string("ab") + '\0' + "3456789abcdef" + "g"},
        {"empty", std::string("0123456789abcdef") + "g", "0123456789abcdefg", "",
         std::string(1, '\0') + "123456789abcdef" + "g"},
        {"double-byte character at the cut", std::string(16, 'x') + "y", std::string(16, 'x') + "y",
         "12345678901234" + kana + "z", std::string("12345678901234") + '\0' + "x" + "y"},
        {"NUL inside, kept as shown", std::string("ab") + '\0' + "cdefghijklmnop", "ab", "ab",
         std::string("ab") + '\0' + "cdefghijklmnop"},
        {"NUL first", std::string(1, '\0') + "zzzzzzzzzzzzzzzz", "", "q",
         std::string("q") + '\0' + "zzzzzzzzzzzzzzz"},
        // An ID pasted whole by an older build: shown, and saved, up to its line break.
        {"a line break", std::string("abc\r\ndef") + std::string(9, '\0'), "abc", "abc",
         std::string("abc") + '\0' + "\ndef" + std::string(9, '\0')},
    };
    for (const IdCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.stored.size(), 17u);
        FileLayout layout;
        layout.connect_id = IdField(c.stored);
        Start(layout);
        EXPECT_EQ(ItemText(Page(kConnectPage), IDC_CONNECT_ID), c.shown);
        SetDlgItemTextA(Page(kConnectPage), IDC_CONNECT_ID, c.typed.c_str());
        const std::vector<std::uint8_t> bytes = Save();
        EXPECT_EQ(std::string(bytes.begin() + kConnectIdAt, bytes.begin() + kConnectIdAt + 17), c.saved);
    }
}

TEST_F(AddressPagesTest, StoredListsShowWholeInStoredOrderAndSaveBackUnchanged) {
    FileLayout layout;
    layout.allowed_only = 1;
    std::vector<std::string> allowed_lines;
    for (int i = 0; i < 300; ++i) {
        // Descending first octets, so that the stored order is not the sorted order.
        const Pattern p = {static_cast<std::uint16_t>(255 - i % 256), static_cast<std::uint16_t>(i / 256),
                           static_cast<std::uint16_t>(i % 7 == 0 ? 256 : i % 200), 9};
        layout.allowed.push_back(p);
        allowed_lines.push_back(std::to_string(p[0]) + "." + std::to_string(p[1]) + "." +
                                (p[2] == 256 ? std::string("*") : std::to_string(p[2])) + ".9");
    }
    layout.denied = {{5, 5, 5, 5}, {4, 4, 4, 4}};
    layout.connect[3] = {1, 2, 3, 4};
    layout.connect_id = IdField("player");
    // Slot 3 moves to slot 0 on saving; everything else comes back byte for byte.
    FileLayout saved_layout = layout;
    saved_layout.connect[3] = {};
    saved_layout.connect[0] = {1, 2, 3, 4};
    Start(layout);

    EXPECT_EQ(Lines(kAllowedPage), allowed_lines);
    EXPECT_EQ(Lines(kDeniedPage), (std::vector<std::string>{"5.5.5.5", "4.4.4.4"}));
    EXPECT_EQ(IsDlgButtonChecked(Page(kAllowedPage), IDC_ALLOWED_ONLY), BST_CHECKED);
    EXPECT_EQ(Save(), saved_layout.Bytes());
}

TEST_F(AddressPagesTest, OctetsAboveTheWildcardShowAsAsteriskAndSaveAs256) {
    FileLayout layout;
    layout.denied = {{300, 1, 2, 65535}};
    layout.allowed = {{0, 0, 0, 0}};
    Start(layout);
    EXPECT_EQ(Lines(kDeniedPage), std::vector<std::string>{"*.1.2.*"});
    EXPECT_EQ(Lines(kAllowedPage), std::vector<std::string>{"0.0.0.0"});
    FileLayout saved = layout;
    saved.denied = {{256, 1, 2, 256}};
    EXPECT_EQ(Save(), saved.Bytes());
}

TEST_F(AddressPagesTest, AllowedOnlyFlagShowsAnyStoredValueAndSavesZeroOrOne) {
    const struct {
        std::int32_t stored;
        bool checked;
        bool click;
        std::int32_t saved;
    } cases[] = {{0, false, false, 0}, {1, true, false, 1}, {2, true, false, 1},
                 {-1, true, false, 1}, {1, true, true, 0}, {0, false, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        FileLayout layout;
        layout.allowed_only = c.stored;
        Start(layout);
        EXPECT_EQ(IsDlgButtonChecked(Page(kAllowedPage), IDC_ALLOWED_ONLY), c.checked ? BST_CHECKED : BST_UNCHECKED);
        if (c.click) {
            SelectTab(kAllowedPage);
            Click(kAllowedPage, IDC_ALLOWED_ONLY);
        }
        EXPECT_EQ(Save()[kAllowedOnlyAt], c.saved);
    }
}

TEST_F(AddressPagesTest, DeleteRemovesOnlyTheSelectedLine) {
    FileLayout layout;
    layout.denied = {{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}};
    layout.connect[0] = {7, 7, 7, 7};
    Start(layout);

    Command(kDeniedPage, IDC_ADDRESS_DELETE);  // nothing selected
    EXPECT_EQ(Lines(kDeniedPage).size(), 3u);

    SendMessageA(Control(kDeniedPage, IDC_ADDRESS_LIST), LB_SETCURSEL, 1, 0);
    Command(kDeniedPage, IDC_ADDRESS_DELETE);
    EXPECT_EQ(Lines(kDeniedPage), (std::vector<std::string>{"1.1.1.1", "3.3.3.3"}));

    SendMessageA(Control(kConnectPage, IDC_ADDRESS_LIST), LB_SETCURSEL, 0, 0);
    Command(kConnectPage, IDC_ADDRESS_DELETE);
    EXPECT_TRUE(Lines(kConnectPage).empty());
    EXPECT_TRUE(Messages().empty());

    FileLayout saved;
    saved.denied = {{1, 1, 1, 1}, {3, 3, 3, 3}};
    EXPECT_EQ(Save(), saved.Bytes());
}

TEST_F(AddressPagesTest, EmptyListsSaveCountsOfZero) {
    FileLayout layout;
    layout.denied = {{1, 2, 3, 4}};
    layout.allowed = {{5, 6, 7, 8}};
    Start(layout);
    SendMessageA(Control(kDeniedPage, IDC_ADDRESS_LIST), LB_SETCURSEL, 0, 0);
    Command(kDeniedPage, IDC_ADDRESS_DELETE);
    SendMessageA(Control(kAllowedPage, IDC_ADDRESS_LIST), LB_SETCURSEL, 0, 0);
    Command(kAllowedPage, IDC_ADDRESS_DELETE);
    const std::vector<std::uint8_t> bytes = Save();
    ASSERT_EQ(bytes.size(), config_layout::kFileBytes);
    EXPECT_EQ(bytes, FileLayout().Bytes());
}

TEST_F(AddressPagesTest, FullListsRefuseAnotherLineAndSaveWhole) {
    FileLayout layout;
    layout.denied.resize(65535);
    for (std::size_t i = 0; i < layout.denied.size(); ++i)
        layout.denied[i] = {static_cast<std::uint16_t>(i >> 8), static_cast<std::uint16_t>(i & 0xff), 256, 1};
    layout.allowed = layout.denied;
    Start(layout);
    ASSERT_EQ(SendMessageA(Control(kDeniedPage, IDC_ADDRESS_LIST), LB_GETCOUNT, 0, 0), 65535);
    char last[32] = {};
    SendMessageA(Control(kAllowedPage, IDC_ADDRESS_LIST), LB_GETTEXT, 65534, reinterpret_cast<LPARAM>(last));
    EXPECT_STREQ(last, "255.254.*.1");

    for (int page : {kDeniedPage, kAllowedPage}) {
        recorder_->Clear();
        EXPECT_FALSE(AddThroughDialog(page, {{"1", "2", "3", "4"}}).opened);
        EXPECT_EQ(Messages(), std::vector<std::string>{kListFull});
    }
    EXPECT_EQ(Save(), layout.Bytes());
}

}  // namespace
