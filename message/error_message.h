// The one place every failure is shown to the user: a modal box with no owner window,
// the title "Error", the text and one OK button.
#pragma once

using ErrorMessageSink = void (*)(const char* text);

void ShowErrorMessage(const char* text);

// What ShowErrorMessage does to a text before it is shown: the window subsystem puts the
// message into the face the user chose. Null shows every text as it is given.
using ErrorMessageTranslator = const char* (*)(const char* text);
void SetErrorMessageTranslator(ErrorMessageTranslator translator);

// Replaces where messages go (tests record them instead of blocking on a modal box).
// Passing nullptr restores the platform's message box. Returns the previous sink.
ErrorMessageSink SetErrorMessageSink(ErrorMessageSink sink);
