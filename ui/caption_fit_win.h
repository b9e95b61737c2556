// Captions that the dialog font makes wider than their controls. Windows only.
#pragma once

#include <windows.h>

// Widens each left-aligned caption of `window` (a static, a check box, a radio button)
// whose text, measured in its own font, is wider than the control, into the free space
// to its right: never over another control, and inside any control that encloses it (a
// group box, the tab strip) by the inset the layout keeps on that control's left. Never
// narrows a control, so calling it again, or after a text became shorter, is harmless.
void WidenCutCaptions(HWND window);
