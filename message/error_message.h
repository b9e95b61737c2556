// The one place every failure is shown to the user: a modal box with no owner window,
// the title "Error", the text and one OK button.
#pragma once

#include "message/messages.h"

using ErrorMessageSink = void (*)(const char* text);

// Shows message `id` in the face set last (Japanese until one is set).
void ShowErrorMessage(MessageId id);

// The face the messages are shown in from now on.
void SetMessageLanguage(Language language);
Language MessageLanguage();

// Replaces where messages go (tests record them instead of blocking on a modal box).
// Passing nullptr restores the platform's message box. Returns the previous sink.
ErrorMessageSink SetErrorMessageSink(ErrorMessageSink sink);
