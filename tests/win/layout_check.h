// Checks a page's controls against its layout table in dialog units.
#pragma once

#include <windows.h>

#include <cstddef>

struct PlacedControl {
    int id;                    // -1: a control without an id, found by its class and caption
    const char* window_class;
    const char* caption;
    RECT units;                // x, y, width, height in dialog units
    LONG style;                // required; for buttons the low four bits are the button kind
    LONG absent;               // style bits that must not be set
};

// The control stands at `units` (x, y, width, height in dialog units) of `window`. A
// dialog converts a position and a size separately, so the right edge is the converted
// left plus the converted width.
void ExpectPlacedAt(HWND window, HWND control, const RECT& units);

// Every control exists, is visible, and has its class, caption, place, size and styles.
// Rows without an id that repeat a class and caption match successive controls.
void ExpectLayout(HWND page, const PlacedControl* placed, std::size_t count);
