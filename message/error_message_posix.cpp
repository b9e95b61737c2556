// Builds without a windowing system show error messages on the error stream.
#include <cstdio>

void PlatformErrorMessage(const char* text) { std::fprintf(stderr, "Error: %s\n", text); }
