// The face on POSIX systems: QORCFG_LANG, then the locale's variables, read as text. No
// locale is loaded (setlocale would open the host's locale files, which a statically
// linked qorcfg must not depend on).
#include <cstdlib>

#include "cli/texts.h"
#include "model/language.h"

Language SystemFace() {
    Language face;
    if (NamedLanguage(std::getenv("QORCFG_LANG"), face)) return face;
    return LocaleLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}
