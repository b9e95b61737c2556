// A helper for the end-to-end scripts: tells what X cannot, from inside Wine.
//   e2e_probe acp            prints the system's ANSI code page (GetACP)
//   e2e_probe texts TITLE    prints the text of every control of the visible top-level
//                            window titled TITLE, one per line as "id<TAB>text" in UTF-8,
//                            a line break in a text written as \n
//   e2e_probe layout TITLE   prints the window's rectangle ("window X Y W H", screen),
//                            its client size ("client W H"), the screen centres of the
//                            shown page's Save and Exit ("save X Y", "exit X Y"), the
//                            number of controls on its pages ("controls N") and each
//                            control that reaches past the client area ("outside PAGE
//                            ID L T R B", client coordinates)
//   e2e_probe next-tab TITLE presses the right arrow on the shown page's tab strip, which
//                            selects the next tab as a user's key press would
//   e2e_probe answers TITLE MS  sends the window WM_NULL again and again for MS
//                            milliseconds, each once the last was answered, and prints
//                            "answers N slowest X ms" (X with two decimals): how long the
//                            window kept a sender waiting at worst
//   e2e_probe notice TITLE [N]  sends the window, N times in a row (once unless given),
//                            what Windows broadcasts when a device is added or removed
//                            (WM_DEVICECHANGE with DBT_DEVNODES_CHANGED)
//   e2e_probe tabs TITLE     prints the shown page's tab strip, once a page is shown (up
//                            to ten seconds): the selected tab ("selected N") and how far
//                            it is scrolled ("scroll POS MAX": the first tab shown, and
//                            the most it scrolls; 0 0 when every tab fits)
//   e2e_probe wait-tabs TITLE selected|scroll N
//                            waits up to ten seconds until the shown page's strip has tab
//                            N selected, or is scrolled to N; fails when it does not
// Texts are read with WM_GETTEXT in UTF-16, which Wine carries across processes; window
// rectangles and posted key messages need no pointer and cross as well.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Write(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &length);
    std::wstring line = std::to_wstring(GetDlgCtrlID(control)) + L"\t";
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == L'\n') line += L"\\n";
        else if (*c != L'\r') line += *c;
    }
    Write(line + L"\n");
    return TRUE;
}

constexpr int kTabStrip = 1001;
constexpr int kSave = 1022;
constexpr int kExit = 1023;

// The tool's pages: the dialogs among the main window's children, in creation order.
std::vector<HWND> Pages(HWND window) {
    std::vector<HWND> pages;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t class_name[16] = {};
        GetClassNameW(child, class_name, 16);
        if (std::wstring(class_name) == L"#32770") pages.push_back(child);
    }
    return pages;
}

HWND ShownPage(HWND window) {
    for (HWND page : Pages(window))
        if (IsWindowVisible(page)) return page;
    return nullptr;
}

std::wstring Centre(const wchar_t* name, HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    return std::wstring(name) + L" " + std::to_wstring((rect.left + rect.right) / 2) + L" " +
           std::to_wstring((rect.top + rect.bottom) / 2) + L"\n";
}

int PrintLayout(HWND window) {
    RECT outer = {};
    RECT client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::wstring out = L"window " + std::to_wstring(outer.left) + L" " + std::to_wstring(outer.top) + L" " +
                       std::to_wstring(outer.right - outer.left) + L" " + std::to_wstring(outer.bottom - outer.top) +
                       L"\nclient " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom) + L"\n";
    HWND shown = ShownPage(window);
    if (shown == nullptr) return 1;
    out += Centre(L"save", GetDlgItem(shown, kSave)) + Centre(L"exit", GetDlgItem(shown, kExit));
    int controls = 0;
    int index = 0;
    for (HWND page : Pages(window)) {
        for (HWND control = GetWindow(page, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
            ++controls;
            RECT rect = {};
            GetWindowRect(control, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            if (rect.left < 0 || rect.top < 0 || rect.right > client.right || rect.bottom > client.bottom)
                out += L"outside " + std::to_wstring(index) + L" " + std::to_wstring(GetDlgCtrlID(control)) + L" " +
                       std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
                       std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom) + L"\n";
        }
        ++index;
    }
    Write(out + L"controls " + std::to_wstring(controls) + L"\n");
    return 0;
}

int NextTab(HWND window) {
    HWND shown = ShownPage(window);
    if (shown == nullptr) return 1;
    HWND tab = GetDlgItem(shown, kTabStrip);
    PostMessageW(tab, WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageW(tab, WM_KEYUP, VK_RIGHT, 0xC0000001);
    return 0;
}

// Waits between sends, so that the window is not asked faster than a message loop that
// is merely busy would answer.
constexpr DWORD kAnswerGapMs = 5;

int MeasureAnswers(HWND window, DWORD duration_ms) {
    LARGE_INTEGER frequency, start, sent, answered;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const LONGLONG end = start.QuadPart + frequency.QuadPart * duration_ms / 1000;
    LONGLONG slowest = 0;
    int answers = 0;
    do {
        QueryPerformanceCounter(&sent);
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) == 0) return 1;
        QueryPerformanceCounter(&answered);
        if (answered.QuadPart - sent.QuadPart > slowest) slowest = answered.QuadPart - sent.QuadPart;
        ++answers;
        Sleep(kAnswerGapMs);
    } while (answered.QuadPart < end);
    const long hundredths = static_cast<long>(slowest * 100000 / frequency.QuadPart);
    wchar_t line[64];
    swprintf(line, 64, L"answers %d slowest %ld.%02ld ms\n", answers, hundredths / 100, hundredths % 100);
    Write(line);
    return 0;
}

// The shown page's tab strip: the selected tab, and the first tab shown with the most
// the strip scrolls, read from its arrows (an up-down control, when not every tab fits).
struct TabStrip {
    int selected = -1;
    int scroll = 0;
    int scroll_max = 0;
};

bool ReadTabs(HWND window, TabStrip& strip) {
    HWND shown = ShownPage(window);
    if (shown == nullptr) return false;
    HWND tab = GetDlgItem(shown, kTabStrip);
    strip.selected = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    HWND arrows = FindWindowExW(tab, nullptr, UPDOWN_CLASSW, nullptr);
    strip.scroll = 0;
    strip.scroll_max = 0;
    if (arrows != nullptr && IsWindowVisible(arrows)) {
        strip.scroll = LOWORD(SendMessageW(arrows, UDM_GETPOS, 0, 0));
        strip.scroll_max = LOWORD(SendMessageW(arrows, UDM_GETRANGE, 0, 0));
    }
    return true;
}

int PrintTabs(const wchar_t* title) {
    TabStrip strip;
    for (int waited = 0;; waited += 10) {
        HWND window = FindWindowW(nullptr, title);
        if (window != nullptr && IsWindowVisible(window) && ReadTabs(window, strip)) break;
        if (waited >= 10000) return 1;
        Sleep(10);
    }
    Write(L"selected " + std::to_wstring(strip.selected) + L"\nscroll " + std::to_wstring(strip.scroll) + L" " +
          std::to_wstring(strip.scroll_max) + L"\n");
    return 0;
}

// Looks every 10 ms: the tool handles a click between two looks.
int WaitTabs(const wchar_t* title, const std::wstring& what, int value) {
    for (int waited = 0; waited < 10000; waited += 10) {
        HWND window = FindWindowW(nullptr, title);
        TabStrip strip;
        if (window != nullptr && ReadTabs(window, strip) &&
            (what == L"selected" ? strip.selected : strip.scroll) == value)
            return 0;
        Sleep(10);
    }
    return 1;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 2) return 2;
    const std::wstring command = args[1];
    if (command == L"acp") {
        Write(std::to_wstring(GetACP()) + L"\n");
        return 0;
    }
    if (command == L"texts" && count == 3) {
        HWND window = FindWindowW(nullptr, args[2]);
        if (window == nullptr || !IsWindowVisible(window)) return 1;
        EnumChildWindows(window, PrintControl, 0);
        return 0;
    }
    if (command == L"answers" && count == 4) {
        HWND window = FindWindowW(nullptr, args[2]);
        if (window == nullptr) return 1;
        return MeasureAnswers(window, static_cast<DWORD>(_wtoi(args[3])));
    }
    if (command == L"notice" && (count == 3 || count == 4)) {
        HWND window = FindWindowW(nullptr, args[2]);
        if (window == nullptr) return 1;
        for (int notice = count == 4 ? _wtoi(args[3]) : 1; notice > 0; --notice) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_NORMAL, 30000, &result) == 0)
                return 1;
        }
        return 0;
    }
    if (command == L"tabs" && count == 3) return PrintTabs(args[2]);
    if ((command == L"layout" || command == L"next-tab") && count == 3) {
        HWND window = FindWindowW(nullptr, args[2]);
        if (window == nullptr || !IsWindowVisible(window)) return 1;
        return command == L"layout" ? PrintLayout(window) : NextTab(window);
    }
    if (command == L"wait-tabs" && count == 5 && (std::wstring(args[3]) == L"selected" || std::wstring(args[3]) == L"scroll"))
        return WaitTabs(args[2], args[3], _wtoi(args[4]));
    return 2;
}
