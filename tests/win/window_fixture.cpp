// The in-process tool fixture shared by the window tests.
#include "window_fixture.h"

#include <commctrl.h>

#include <cstring>

#include "ui/config_file.h"
#include "ui/file_guard_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/language_win.h"
#include "ui/startup_win.h"
#include "ui/window_win.h"

std::vector<WindowFixture::Question> WindowFixture::questions_;
bool WindowFixture::answer_ = true;
void (*WindowFixture::while_asked_)() = nullptr;

namespace {

bool RecordQuestion(HWND owner, const char* text) {
    WindowFixture::questions_.push_back({owner, text});
    if (WindowFixture::while_asked_ != nullptr) WindowFixture::while_asked_();
    return WindowFixture::answer_;
}

}  // namespace

void WindowFixture::SetUp() {
    folder_.emplace();
    recorder_.emplace();
    questions_.clear();
    answer_ = true;
    while_asked_ = nullptr;
    SetQuestionAnswerer(RecordQuestion);
    PrepareConfig();
    SetStoredLanguage(StoredLanguage());
    InitLanguage();
    ASSERT_TRUE(LoadConfig());
    recorder_->Clear();
    ASSERT_TRUE(CreateToolWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    PumpMessages();
}

void WindowFixture::TearDown() {
    ReleaseToolWindow();
    PumpMessages();  // drops the quit message destroying the window posted
    recorder_.reset();
    SetQuestionAnswerer(nullptr);
    folder_.reset();
}

HWND WindowFixture::Page(int index) const { return page_windows[index]; }

HWND WindowFixture::Control(int page, int id) const { return GetDlgItem(Page(page), id); }

int WindowFixture::TabSelection(int page) const {
    return static_cast<int>(SendMessageA(Control(page, IDC_TAB), TCM_GETCURSEL, 0, 0));
}

bool WindowFixture::PageVisible(int page) const {
    return (GetWindowLongA(Page(page), GWL_STYLE) & WS_VISIBLE) != 0;
}

void WindowFixture::SelectTab(int index) {
    HWND shown = current_page;
    HWND tab = GetDlgItem(shown, IDC_TAB);
    SendMessageA(tab, TCM_SETCURSEL, index, 0);
    NMHDR header = {};
    header.hwndFrom = tab;
    header.idFrom = IDC_TAB;
    header.code = TCN_SELCHANGE;
    SendMessageA(shown, WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&header));
}

void WindowFixture::Click(int page, int id) {
    SendMessageA(Control(page, id), BM_CLICK, 0, 0);
    PumpMessages();
}

void WindowFixture::Command(int page, int id) {
    SendMessageA(Page(page), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(page, id)));
    PumpMessages();
}

bool WindowFixture::PumpMessages() {
    bool quit = false;
    MSG message;
    // Unicode, as the program's own loop: a posted character arrives whole.
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

const wchar_t WindowFixture::kTestLanguageKey[] = L"Software\\QORConfig\\WindowTests";

void WindowFixture::SetStoredLanguage(const wchar_t* code) {
    language_registry_key = kTestLanguageKey;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kTestLanguageKey, L"Language");
    if (code == nullptr) return;
    RegSetKeyValueW(HKEY_CURRENT_USER, kTestLanguageKey, L"Language", REG_SZ, code,
                    static_cast<DWORD>((wcslen(code) + 1) * sizeof(wchar_t)));
}

std::wstring WindowFixture::ReadStoredLanguage() const {
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kTestLanguageKey, L"Language", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"(none)";
    return value;
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    int length = GetWindowTextW(window, text, 256);
    return std::wstring(text, length > 0 ? length : 0);
}

std::vector<std::wstring> TabLabels(HWND tab) {
    std::vector<std::wstring> labels;
    const LRESULT count = SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
        wchar_t text[64] = {};
        TCITEMW tab_item = {};
        tab_item.mask = TCIF_TEXT;
        tab_item.pszText = text;
        tab_item.cchTextMax = 64;
        SendMessageW(tab, TCM_GETITEMW, item, reinterpret_cast<LPARAM>(&tab_item));
        labels.emplace_back(text);
    }
    return labels;
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}
