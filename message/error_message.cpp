// Routes error messages to the platform's message box or to a sink a test installed.
#include "message/error_message.h"

// Defined once per platform (error_message_win.cpp, error_message_posix.cpp).
void PlatformErrorMessage(const char* text);

namespace {
ErrorMessageSink current_sink = PlatformErrorMessage;
Language message_language = Language::kJapanese;
}  // namespace

void ShowErrorMessage(MessageId id) { current_sink(MessageIn(id, message_language)); }

void SetMessageLanguage(Language language) { message_language = language; }

Language MessageLanguage() { return message_language; }

ErrorMessageSink SetErrorMessageSink(ErrorMessageSink sink) {
    ErrorMessageSink previous = current_sink;
    current_sink = sink != nullptr ? sink : PlatformErrorMessage;
    return previous;
}
