// The main window at the display scale the test runs at (ctest runs this suite at 96,
// 120, 144 and 192 DPI): growing for pages that need more room, a move to a monitor of
// another scale, captions widened into the free space beside them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ui/caption_fit_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_dpi_win.h"
#include "ui/window_win.h"
#include "window_fixture.h"

namespace {

// A window's rectangle in its parent's client area (the screen's for a top-level one).
RECT RectIn(HWND parent, HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (parent != nullptr) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT Units(HWND page, RECT units) {
    MapDialogRect(page, &units);
    return units;
}

// The window's size at each scale, and every control inside it, are checked end to end
// (tests/e2e/dpi_startup.sh); here: what the real pages never need at these scales.
using DpiTest = WindowFixture;

// A page whose controls reach past the client area (as with a larger dialog font) grows
// the window by just what they need and the pages' margin of 7 dialog units, never past
// the work area, and centres it again.
TEST_F(DpiTest, PagesThatNeedMoreRoomGrowTheWindowUpToTheWorkArea) {
    struct Case {
        const char* name;
        int past_right;   // how far the moved control reaches past the client area's edges
        int past_bottom;
    };
    const Case cases[] = {
        {"inside", -20, -20}, {"wider", 30, -20}, {"taller", -20, 45}, {"both", 1, 1}, {"beyond the screen", 5000, 5000},
    };
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const RECT before = RectIn(nullptr, main_window);
        RECT client;
        GetClientRect(main_window, &client);
        HWND page = Page(kKeyConfigPage);
        HWND reset = Control(kKeyConfigPage, IDC_RESET);
        const RECT rect = RectIn(page, reset);
        SetWindowPos(reset, nullptr, client.right + c.past_right - (rect.right - rect.left),
                     client.bottom + c.past_bottom - (rect.bottom - rect.top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        FitWindowToPages(main_window, page_windows, kPageCount);

        const RECT margin = Units(page, {0, 0, 7, 7});
        const int grow_x = std::max(0L, c.past_right + margin.right);
        const int grow_y = std::max(0L, c.past_bottom + margin.bottom);
        const int width = std::min<int>(before.right - before.left + grow_x,
                                        std::max<int>(before.right - before.left, work.right - work.left));
        const int height = std::min<int>(before.bottom - before.top + grow_y,
                                         std::max<int>(before.bottom - before.top, work.bottom - work.top));
        const RECT after = RectIn(nullptr, main_window);
        EXPECT_EQ(after.right - after.left, width);
        EXPECT_EQ(after.bottom - after.top, height);
        EXPECT_EQ(after.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        EXPECT_EQ(after.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
        RECT grown_client;
        GetClientRect(main_window, &grown_client);
        if (grow_x > 0 && width < work.right - work.left) {
            EXPECT_EQ(RectIn(main_window, reset).right + margin.right, grown_client.right);
        }
        if (grow_y > 0 && height < work.bottom - work.top) {
            EXPECT_EQ(RectIn(main_window, reset).bottom + margin.bottom, grown_client.bottom);
        }
    }
}

// WM_DPICHANGED, as the system sends it when the window moves to a monitor of another
// scale: the window takes the suggested rectangle at once, and once the pages have their
// fonts it is fitted to them as at start-up (here the scale stays the test's, so it
// returns to its start-up size), from where it stands inside the work area; the pages
// stay in its client area, the page shown stays shown, and no caption was narrowed.
TEST_F(DpiTest, AChangeOfScaleTakesTheSuggestedRectangleThenFitsThePagesAgain) {
    const RECT start = RectIn(nullptr, main_window);
    const int width = start.right - start.left;
    const int height = start.bottom - start.top;
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    struct Case {
        int dpi;
        RECT suggested;
    };
    const Case cases[] = {
        {120, {start.left - 20, start.top - 10, start.left - 20 + width * 5 / 4, start.top - 10 + height * 5 / 4}},
        {72, {start.left + 40, start.top + 30, start.left + 40 + width * 3 / 4, start.top + 30 + height * 3 / 4}},
        {96, start},
    };
    SelectTab(kKeyConfigPage);
    HWND caption = FindWindowExW(Page(kKeyConfigPage), nullptr, L"Static", L"ダッシュ");
    ASSERT_NE(caption, nullptr);
    const RECT caption_before = RectIn(Page(kKeyConfigPage), caption);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        RECT suggested = c.suggested;
        EXPECT_EQ(SendMessageW(main_window, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                               reinterpret_cast<LPARAM>(&suggested)), 0);
        const RECT taken = RectIn(nullptr, main_window);
        EXPECT_TRUE(EqualRect(&taken, &c.suggested));
        PumpMessages();
        const RECT after = RectIn(nullptr, main_window);
        EXPECT_EQ(after.right - after.left, width);
        EXPECT_EQ(after.bottom - after.top, height);
        if (width <= work.right - work.left && height <= work.bottom - work.top) {
            EXPECT_EQ(after.left, std::max(work.left, std::min(c.suggested.left, work.right - width)));
            EXPECT_EQ(after.top, std::max(work.top, std::min(c.suggested.top, work.bottom - height)));
        }
        for (int page = 0; page < kPageCount; ++page) {
            const RECT rect = RectIn(main_window, Page(page));
            EXPECT_EQ(rect.left, 0);
            EXPECT_EQ(rect.top, 0);
        }
        EXPECT_TRUE(PageVisible(kKeyConfigPage));
        EXPECT_EQ(current_page, Page(kKeyConfigPage));
        EXPECT_GE(RectIn(Page(kKeyConfigPage), caption).right, caption_before.right);
    }
}

// A minimised window (a start with SW_SHOWMINIMIZED) is measured and fitted by the
// rectangle it is restored to: the minimised one stays where the system put it.
TEST_F(DpiTest, AMinimisedWindowIsFittedByTheRectangleItIsRestoredTo) {
    ShowWindow(main_window, SW_MINIMIZE);
    const RECT minimised = RectIn(nullptr, main_window);
    FitWindowToPages(main_window, page_windows, kPageCount);
    const RECT after = RectIn(nullptr, main_window);
    EXPECT_TRUE(IsIconic(main_window) && EqualRect(&after, &minimised));
}

// Captions whose text is wider than their control, measured against what stands beside
// them: a key row's caption stops at its button label, the volume caption at its slider,
// a radio button at the next one or at its group box's frame less the box's inset, the
// list's caption at the tab strip's inner edge, and a caption that needs a little more
// gets just that.
TEST_F(DpiTest, ACutCaptionGrowsIntoTheFreeSpaceBesideItAndNoFurther) {
    const std::wstring kLong(40, L'ア');
    const auto left_of = [this](int page, int id) { return RectIn(Page(page), Control(page, id)).left; };
    // The right edge of `box` less the inset of the control `inner` inside it.
    const auto inside = [](HWND page, HWND box, HWND inner) {
        const RECT outer = RectIn(page, box);
        return outer.right - (RectIn(page, inner).left - outer.left);
    };
    HWND keys = Page(kKeyConfigPage);
    HWND denied = Page(kDeniedPage);
    struct Case {
        const char* name;
        int page;
        int id;                 // 0: a static found by its text
        const wchar_t* shown;
        std::wstring text;      // set before widening
        LONG right;             // where it must end; 0: at its text's width
    };
    const Case cases[] = {
        {"key row caption", kKeyConfigPage, 0, L"ダッシュ", kLong, left_of(kKeyConfigPage, IDC_KEY_LABEL_4)},
        {"volume caption", kOptionsPage, 0, L"BGM", kLong, left_of(kOptionsPage, IDC_BGM_VOLUME)},
        {"radio button", kKeyConfigPage, IDC_METHOD_KEYBOARD, nullptr, kLong, left_of(kKeyConfigPage, IDC_METHOD_JOYPAD)},
        {"radio button in its group box", kKeyConfigPage, IDC_METHOD_JOYPAD, nullptr, kLong,
         inside(keys, FindWindowExW(keys, nullptr, L"Button", L"操作方法"), Control(kKeyConfigPage, IDC_METHOD_KEYBOARD))},
        {"list caption", kDeniedPage, 0, L"IPリスト", kLong,
         inside(denied, Control(kDeniedPage, IDC_TAB), Control(kDeniedPage, IDC_ADDRESS_LIST))},
        {"a little more", kKeyConfigPage, 0, L"メニュー", L"メニューメニュー", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND page = Page(c.page);
        HWND control = c.id != 0 ? Control(c.page, c.id) : FindWindowExW(page, nullptr, L"Static", c.shown);
        ASSERT_NE(control, nullptr);
        const RECT before = RectIn(page, control);
        SetWindowTextW(control, c.text.c_str());
        WidenCutCaptions(page);
        const RECT after = RectIn(page, control);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.bottom, before.bottom);
        if (c.right != 0) {
            EXPECT_EQ(after.right, c.right);
        } else {
            HDC dc = GetDC(control);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
            SIZE size = {};
            GetTextExtentPoint32W(dc, c.text.c_str(), static_cast<int>(c.text.size()), &size);
            SelectObject(dc, old);
            ReleaseDC(control, dc);
            EXPECT_EQ(after.right - after.left, size.cx);
        }
        // Widening again changes nothing.
        WidenCutCaptions(page);
        EXPECT_EQ(RectIn(page, control).right, after.right);
    }
}

}  // namespace
