// Layout checks shared by the page tests.
#include "layout_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

int TextWidth(HWND control) {
    wchar_t text[128] = {};
    const int length = GetWindowTextW(control, text, 128);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, length, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

}  // namespace

void ExpectPlacedAt(HWND window, HWND control, const RECT& units) {
    RECT origin = {units.left, units.top, 0, 0};
    RECT size = {0, 0, units.right, units.bottom};
    MapDialogRect(window, &origin);
    MapDialogRect(window, &size);
    RECT actual;
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, origin.left);
    EXPECT_EQ(actual.top, origin.top);
    EXPECT_EQ(actual.bottom, origin.top + size.bottom);
    // A caption whose text the dialog font draws wider than the template's width is
    // widened to the right at run time; nothing else is, and nothing is narrowed.
    if (actual.right != origin.left + size.right) {
        EXPECT_GT(actual.right, origin.left + size.right);
        EXPECT_GT(TextWidth(control), size.right) << "widened, though its text fits the template's width";
    }
}

void ExpectLayout(HWND page, const PlacedControl* placed, std::size_t count) {
    std::vector<HWND> found(count, nullptr);
    for (std::size_t i = 0; i < count; ++i) {
        const PlacedControl& p = placed[i];
        SCOPED_TRACE(testing::Message() << "control " << p.id << " " << p.caption << " (row " << i << ")");
        // Controls without an id that share class and caption (the dots between fields)
        // are matched in template order: each row takes the next one after the row before.
        HWND after = nullptr;
        for (std::size_t j = 0; p.id == -1 && j < i; ++j) {
            if (placed[j].id == -1 && std::strcmp(placed[j].window_class, p.window_class) == 0 &&
                std::strcmp(placed[j].caption, p.caption) == 0)
                after = found[j];
        }
        HWND control = p.id == -1 ? FindWindowExA(page, after, p.window_class, p.caption)
                                  : GetDlgItem(page, p.id);
        ASSERT_NE(control, nullptr);
        found[i] = control;
        char text[64] = {};
        GetClassNameA(control, text, sizeof text);
        EXPECT_STREQ(text, p.window_class);
        GetWindowTextA(control, text, sizeof text);
        EXPECT_STREQ(text, p.caption);

        ExpectPlacedAt(page, control, p.units);

        LONG style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_NE(style & WS_VISIBLE, 0);
        bool button = std::string(p.window_class) == "Button";
        if (button) {
            EXPECT_EQ(style & BS_TYPEMASK, p.style & BS_TYPEMASK);
        }
        LONG flags = button ? p.style & ~BS_TYPEMASK : p.style;
        EXPECT_EQ(style & flags, flags);
        LONG absent = p.absent;
        // A radio button takes WS_TABSTOP when it is checked (and gives it up when
        // cleared), so only an unchecked one shows the template's style.
        if (button && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
            SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
            absent &= ~WS_TABSTOP;
        EXPECT_EQ(style & absent, 0);
    }
}
