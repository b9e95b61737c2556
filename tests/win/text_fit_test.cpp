// Every visible text of every page and of the address dialog, in both faces, measured
// with the control's own font (the dialog font) against the room its control gives it.
// ctest runs it at 96, 120, 144 and 192 DPI: which captions fit depends on the scale.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "text/cp932_text.h"
#include "ui/address_dialog_win.h"
#include "ui/caption_fit_win.h"
#include "ui/language_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "window_fixture.h"

namespace {

// Room a button's own drawing takes from its caption, in pixels: a push button's edges,
// a group box's frame on both sides of its caption.
constexpr int kPushButtonRoom = 4;
constexpr int kGroupBoxRoom = 16;

std::string Utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
    return out;
}

// The control's client area in 32-bit pixels: drawn by the control itself, or, given a
// text, that text alone written with the control's font at the left edge.
std::vector<DWORD> Drawn(HWND control, const wchar_t* text = nullptr) {
    RECT client;
    GetClientRect(control, &client);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC memory = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
    HGDIOBJ old_font = SelectObject(memory, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    if (text == nullptr) {
        SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    } else {
        FillRect(memory, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TextOutW(memory, 0, 0, text, lstrlenW(text));
    }
    GdiFlush();
    const DWORD* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + client.right * client.bottom);
    SelectObject(memory, old_font);
    SelectObject(memory, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// The leftmost column in which two drawings of `control` differ.
int FirstDifference(HWND control, const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    RECT client;
    GetClientRect(control, &client);
    int first = client.right;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) first = std::min(first, static_cast<int>(i % static_cast<std::size_t>(client.right)));
    EXPECT_LT(first, client.right) << "\"H\" drew nothing";
    return first;
}

// Where a check box or radio button starts its caption, read off the system's own
// drawing of it rather than computed: the control drawn without a caption and with "H",
// where the two first differ, less where the ink of "H" starts past the pen in the
// control's font. Only the pixel of the focus rectangle past the text is added.
int CheckMarkRoom(HWND control) {
    wchar_t caption[128] = {};
    GetWindowTextW(control, caption, 128);
    SetWindowTextW(control, L"");
    const std::vector<DWORD> bare = Drawn(control);
    SetWindowTextW(control, L"H");
    const std::vector<DWORD> marked = Drawn(control);
    SetWindowTextW(control, caption);
    return FirstDifference(control, bare, marked) - FirstDifference(control, Drawn(control, L""), Drawn(control, L"H")) + 1;
}

int RoomTaken(HWND control) {
    wchar_t class_name[32] = {};
    GetClassNameW(control, class_name, 32);
    if (lstrcmpiW(class_name, L"Button") != 0) return 0;
    switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: return kPushButtonRoom;
        case BS_GROUPBOX: return kGroupBoxRoom;
        default: return CheckMarkRoom(control);
    }
}

struct Fit {
    std::wstring text;
    int width;
    int room;
    std::string Line() const {
        return Utf8(text) + ": " + std::to_string(width) + " px in " + std::to_string(room) + " px";
    }
};

// How wide `text` is in the control's font, against the room the control has for it.
Fit Measure(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const int taken = RoomTaken(control);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT client;
    GetClientRect(control, &client);
    return {text, size.cx, client.right - taken};
}

// Every visible control's own text, and the run-time texts of the key labels ("KEY 12",
// the capture's label).
std::vector<Fit> Fits(HWND window) {
    std::vector<Fit> fits;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t class_name[32] = {};
        GetClassNameW(child, class_name, 32);
        // The control's own visibility: the address dialog is measured without being shown.
        const bool shown = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!shown || lstrcmpiW(class_name, L"Edit") == 0) continue;
        wchar_t text[128] = {};
        GetWindowTextW(child, text, 128);
        std::vector<std::wstring> texts = {text};
        if (GetDlgCtrlID(child) == IDC_KEY_LABEL_1 && window == page_windows[kKeyConfigPage]) {
            texts.push_back(WideFromCp932(LocalText(MessageId::kCapturing)));
            texts.push_back(L"KEY 12");
        }
        for (const std::wstring& t : texts) {
            if (!t.empty()) fits.push_back(Measure(child, t));
        }
    }
    return fits;
}

class TextFitTest : public WindowFixture, public testing::WithParamInterface<const wchar_t*> {
protected:
    const wchar_t* StoredLanguage() const override { return GetParam(); }

    // The windows whose texts are measured: the six pages, shown in turn, and the
    // address dialog, created here without its modal loop (it fits its captions as it
    // opens, as in the tool).
    std::vector<Fit> FitsEverywhere() {
        std::vector<Fit> fits;
        for (int page = 0; page < kPageCount; ++page) {
            SelectTab(page);
            PumpMessages();
            for (const Fit& f : Fits(Page(page))) fits.push_back(f);
        }
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ADDRESS_DIALOG),
                                         main_window, AddressDialogProc, 0);
        EXPECT_NE(dialog, nullptr);
        for (const Fit& f : Fits(dialog)) fits.push_back(f);
        DestroyWindow(dialog);
        return fits;
    }
};

// No text is cut, whatever the scale; the tightest fit is printed, for the record.
TEST_P(TextFitTest, EveryTextFitsItsControl) {
    const bool english = current_language == Language::kEnglish;
    ASSERT_EQ(english, std::wstring(GetParam()) == L"en");
    const std::vector<Fit> fits = FitsEverywhere();
    ASSERT_FALSE(fits.empty());
    const Fit* tightest = nullptr;
    for (const Fit& f : fits) {
        EXPECT_LE(f.width, f.room) << "cut: " << f.Line();
        if (tightest == nullptr || f.room - f.width < tightest->room - tightest->width) tightest = &f;
    }
    HDC screen = GetDC(nullptr);
    std::printf("at %d DPI the tightest text is %s (%d px spare)\n", GetDeviceCaps(screen, LOGPIXELSX),
                tightest->Line().c_str(), tightest->room - tightest->width);
    ReleaseDC(nullptr, screen);
}

// A check box whose caption grows is widened until the system draws the caption whole:
// the room its mark takes is read off the drawing, not computed as the widening does.
TEST_P(TextFitTest, AGrownCheckBoxCaptionIsWidenedToItsDrawnWidth) {
    HWND page = Page(kAllowedPage);
    SelectTab(kAllowedPage);
    HWND box = GetDlgItem(page, IDC_ALLOWED_ONLY);
    ASSERT_NE(box, nullptr);
    wchar_t caption[128] = {};
    GetWindowTextW(box, caption, 128);
    RECT before;
    GetWindowRect(box, &before);
    const std::wstring grown = std::wstring(caption) + L"ああああああ";
    SetWindowTextW(box, grown.c_str());
    WidenCutCaptions(page);
    RECT after;
    GetWindowRect(box, &after);
    EXPECT_GT(after.right, before.right);
    const Fit fit = Measure(box, grown);
    EXPECT_LE(fit.width, fit.room) << "cut: " << fit.Line();
}

INSTANTIATE_TEST_SUITE_P(BothFaces, TextFitTest, testing::Values(L"ja", L"en"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                             return std::wstring(info.param) == L"en" ? std::string("English")
                                                                      : std::string("Japanese");
                         });

}  // namespace
