// The main window at any display scale: its size, where it stands, how it grows to hold
// the pages, and how it follows a move to a monitor of another scale. Windows only.
#pragma once

#include <windows.h>

// The DPI `window` is drawn at; null, or a system that cannot tell a window's own DPI
// (before Windows 10 1607): the system's.
UINT WindowDpi(HWND window);

// The main window's outer size at `dpi`: 320 x 528 at 96 DPI, scaled.
SIZE ScaledWindowSize(UINT dpi);

// Where a window of `size` stands centred on the primary screen: each margin halved and
// truncated toward zero, so a screen smaller than the window gives a negative origin.
POINT CentredOrigin(SIZE size);

// Where a window that FitWindowToPages resizes stands: centred on the primary screen
// (start-up), or where it stands, inside its monitor's work area (a change of scale,
// after it took the rectangle the system suggested).
enum class FitPlace { kCentred, kWhereItStands };

// Sizes `window` for the pages: its scaled size, grown by what the pages' controls (and
// the pages' margin) need beyond its client area, the growth going no further than the
// work area. When that changes the window's size, it is placed as `place` says. A
// minimised window is measured and fitted by the rectangle it is restored to.
void FitWindowToPages(HWND window, const HWND* pages, int count, FitPlace place = FitPlace::kCentred);

// WM_DPICHANGED: the window takes the rectangle the system suggests for the new scale.
void OnDpiChanged(HWND window, const RECT& suggested);
