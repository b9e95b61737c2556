// The Windows message box behind ShowErrorMessage.
#include <windows.h>

void PlatformErrorMessage(const char* text) { MessageBoxA(nullptr, text, "Error", MB_OK); }
