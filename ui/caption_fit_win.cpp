// Captions widened at run time where the dialog font (which differs with the display
// scale and with the fonts a system has) draws them wider than the templates allow.
#include "ui/caption_fit_win.h"

#include <algorithm>
#include <string>

#include "ui/window_dpi_win.h"
#include "ui/window_text_win.h"

namespace {

enum class Caption { kNone, kText, kMarked };

// Only captions that start at the control's left edge grow to the right unchanged; a
// centred or right-aligned one would move.
Caption CaptionKind(HWND control) {
    wchar_t class_name[16] = {};
    GetClassNameW(control, class_name, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(class_name, L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? Caption::kText : Caption::kNone;
    }
    if (lstrcmpiW(class_name, L"Button") != 0 || (style & BS_LEFTTEXT) != 0) return Caption::kNone;
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return Caption::kMarked;
        default: return Caption::kNone;
    }
}

// The width the control needs for its text: the text in the control's font, and for a
// check box or radio button the mark (12 pixels at 96 DPI, scaled, and one more), the
// gap of half a digit after it and one pixel more (where the system's drawing of the
// button puts the caption at every scale), and the pixel the focus rectangle takes past
// the text.
int NeededWidth(HWND control, Caption kind) {
    const std::wstring text = WindowText(control);
    HDC dc = GetDC(control);
    if (dc == nullptr) return 0;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    int width = size.cx;
    if (kind == Caption::kMarked) {
        SIZE digit = {};
        GetTextExtentPoint32W(dc, L"0", 1, &digit);
        width += MulDiv(12, static_cast<int>(WindowDpi(control)), USER_DEFAULT_SCREEN_DPI) + 1 + digit.cx / 2 + 1 + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return width;
}

RECT RectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Encloses(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

// The inset the layout keeps inside a control that encloses others (a group box, the tab
// strip): the smallest distance from its left edge to a control inside it. Kept on its
// right too.
int InnerInset(HWND window, HWND box, const RECT& box_rect) {
    int inset = box_rect.right - box_rect.left;
    for (HWND other = GetWindow(window, GW_CHILD); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
        const RECT inside = RectInParent(other);
        if (other != box && Encloses(box_rect, inside))
            inset = std::min(inset, static_cast<int>(inside.left - box_rect.left));
    }
    return inset;
}

// How far right the control may reach: the window's edge, the left edge of any control
// beside it, and the inner edge of any control around it.
int RightLimit(HWND window, HWND control, const RECT& rect) {
    RECT client;
    GetClientRect(window, &client);
    int limit = client.right;
    for (HWND other = GetWindow(window, GW_CHILD); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == control) continue;
        const RECT beside = RectInParent(other);
        if (beside.bottom <= rect.top || beside.top >= rect.bottom) continue;
        if (Encloses(beside, rect)) {
            limit = std::min(limit, static_cast<int>(beside.right) - InnerInset(window, other, beside));
        } else if (beside.right > rect.right) {
            // A control that already overlaps this one leaves it as it is.
            limit = std::min(limit, static_cast<int>(std::max(beside.left, rect.right)));
        }
    }
    return limit;
}

}  // namespace

void WidenCutCaptions(HWND window) {
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const Caption kind = CaptionKind(control);
        if (kind == Caption::kNone) continue;
        const RECT rect = RectInParent(control);
        const int width = rect.right - rect.left;
        const int needed = NeededWidth(control, kind);
        if (needed <= width) continue;
        const int widened = std::min(needed, RightLimit(window, control, rect) - static_cast<int>(rect.left));
        if (widened <= width) continue;
        SetWindowPos(control, nullptr, 0, 0, widened, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
