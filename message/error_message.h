// The one place every failure is shown to the user: a modal box with no owner window,
// the title "Error", the text and one OK button.
#pragma once

using ErrorMessageSink = void (*)(const char* text);

void ShowErrorMessage(const char* text);

// Replaces where messages go (tests record them instead of blocking on a modal box).
// Passing nullptr restores the platform's message box. Returns the previous sink.
ErrorMessageSink SetErrorMessageSink(ErrorMessageSink sink);
