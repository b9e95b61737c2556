// The main window's size and place at any display scale.
#include "ui/window_dpi_win.h"

#include <algorithm>

namespace {

// The outer size at 96 DPI; it has no sizing border.
constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 528;

// The room kept around the pages' controls when the window grows for them: the tab
// strip's inset from the page's left edge, in dialog units, kept right and below too.
constexpr int kPageMarginUnits = 7;

// Windows 10 1607 and later only; looked up so that the program starts on older systems.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

GetDpiForWindowFunction FindGetDpiForWindow() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")));
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// The furthest right and bottom any control of the pages reaches in `window`'s client
// area, with the margin of its page.
POINT PagesReach(HWND window, const HWND* pages, int count) {
    POINT reach = {0, 0};
    for (int index = 0; index < count; ++index) {
        HWND page = pages[index];
        if (page == nullptr) continue;
        RECT margin = {0, 0, kPageMarginUnits, kPageMarginUnits};
        MapDialogRect(page, &margin);
        for (HWND control = GetWindow(page, GW_CHILD); control != nullptr;
             control = GetWindow(control, GW_HWNDNEXT)) {
            RECT rect;
            GetWindowRect(control, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            reach.x = std::max(reach.x, rect.right + margin.right);
            reach.y = std::max(reach.y, rect.bottom + margin.bottom);
        }
    }
    return reach;
}

// Windows 10 1607 and later only, as GetDpiForWindow.
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

AdjustForDpiFunction FindAdjustForDpi() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<AdjustForDpiFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
}

// Grows `rect` by the frame `window`'s styles give it at its scale.
void FrameAround(HWND window, RECT& rect) {
    static const AdjustForDpiFunction adjust_for_dpi = FindAdjustForDpi();
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    if (adjust_for_dpi == nullptr || !adjust_for_dpi(&rect, style, FALSE, ex_style, WindowDpi(window)))
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

// The scaled size, grown to `needed` but by no more than the work area allows; never
// smaller than the scaled size.
int Grown(int scaled, int needed, int work_area) {
    if (needed <= scaled) return scaled;
    return std::max(scaled, std::min(needed, work_area));
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const GetDpiForWindowFunction get_dpi_for_window = FindGetDpiForWindow();
    if (window != nullptr && get_dpi_for_window != nullptr) {
        const UINT dpi = get_dpi_for_window(window);
        if (dpi != 0) return dpi;
    }
    return SystemDpi();
}

SIZE ScaledWindowSize(UINT dpi) {
    const int scale = static_cast<int>(dpi);
    return {MulDiv(kWindowWidth, scale, USER_DEFAULT_SCREEN_DPI),
            MulDiv(kWindowHeight, scale, USER_DEFAULT_SCREEN_DPI)};
}

// C++ division truncates toward zero, as the centring rule asks.
POINT CentredOrigin(SIZE size) {
    return {(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
}

void FitWindowToPages(HWND window, const HWND* pages, int count, FitPlace place) {
    // A minimised window (a start with the show command SW_SHOWMINIMIZED) is measured and
    // fitted by the rectangle it is restored to; its frame is what that rectangle adds
    // to a client area at this scale, since a minimised window has no client area.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    const bool minimised = IsIconic(window) && GetWindowPlacement(window, &placement);
    RECT outer;
    RECT client;
    if (minimised) {
        outer = placement.rcNormalPosition;
        RECT frame = {0, 0, 0, 0};
        FrameAround(window, frame);
        client = {0, 0, (outer.right - outer.left) - (frame.right - frame.left),
                  (outer.bottom - outer.top) - (frame.bottom - frame.top)};
    } else if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) {
        return;
    }
    // The frame (caption and borders) stays what it is at this scale.
    const int frame_width = (outer.right - outer.left) - client.right;
    const int frame_height = (outer.bottom - outer.top) - client.bottom;
    const SIZE scaled = ScaledWindowSize(WindowDpi(window));
    const POINT reach = PagesReach(window, pages, count);
    // The work area of the window's own monitor once it moved to one of another scale.
    RECT work;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (place == FitPlace::kWhereItStands && !minimised &&
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        work = monitor.rcWork;
    } else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const SIZE size = {Grown(scaled.cx, reach.x + frame_width, work.right - work.left),
                       Grown(scaled.cy, reach.y + frame_height, work.bottom - work.top)};
    if (size.cx == outer.right - outer.left && size.cy == outer.bottom - outer.top) return;
    POINT origin = CentredOrigin(size);
    if (place == FitPlace::kWhereItStands) {
        // It grows from where the system put it, kept inside the work area.
        origin = {std::max(work.left, std::min(outer.left, work.right - size.cx)),
                  std::max(work.top, std::min(outer.top, work.bottom - size.cy))};
    }
    if (minimised) {
        // The restored rectangle is in work-area coordinates, whose origin is the top left
        // of the primary screen's work area.
        RECT primary = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
        origin = place == FitPlace::kCentred ? POINT{origin.x - primary.left, origin.y - primary.top}
                                             : POINT{outer.left, outer.top};
        placement.rcNormalPosition = {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
        placement.flags = 0;
        SetWindowPlacement(window, &placement);
        return;
    }
    SetWindowPos(window, nullptr, origin.x, origin.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnDpiChanged(HWND window, const RECT& suggested) {
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
