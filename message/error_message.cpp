// Routes error messages to the platform's message box or to a sink a test installed.
#include "message/error_message.h"

// Defined once per platform (error_message_win.cpp, error_message_posix.cpp).
void PlatformErrorMessage(const char* text);

namespace {
ErrorMessageSink current_sink = PlatformErrorMessage;
ErrorMessageTranslator current_translator = nullptr;
}  // namespace

void ShowErrorMessage(const char* text) { current_sink(current_translator ? current_translator(text) : text); }

void SetErrorMessageTranslator(ErrorMessageTranslator translator) { current_translator = translator; }

ErrorMessageSink SetErrorMessageSink(ErrorMessageSink sink) {
    ErrorMessageSink previous = current_sink;
    current_sink = sink != nullptr ? sink : PlatformErrorMessage;
    return previous;
}
