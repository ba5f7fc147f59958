#include "model/Language.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "model/OscState.h"

namespace korvel {

int IsRussianLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* locale = nullptr;
    for (const char* candidate : {lcAll, lcMessages, lang}) {
        if (candidate != nullptr && candidate[0] != '\0') {
            locale = candidate;
            break;
        }
    }
    if (locale == nullptr) return 0;
    // The language is the part before the territory, the code set or the modifier:
    // "ru", "ru_RU", "ru_UA.UTF-8", "ru@latin".
    const size_t languageLength = std::strcspn(locale, "_.@");
    return (languageLength == 2 && std::strncmp(locale, "ru", 2) == 0) ? 1 : 0;
}

void ChooseLanguage() {
    OscState.Russian =
        IsRussianLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace korvel
