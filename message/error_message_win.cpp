// The Windows message box behind ShowErrorMessage.
#include <windows.h>

#include "text/cp932_text.h"

// The text is CP932 and is shown as such whatever the system's code page is.
void PlatformErrorMessage(const char* text) { MessageBoxW(nullptr, WideFromCp932(text).c_str(), L"Error", MB_OK); }
