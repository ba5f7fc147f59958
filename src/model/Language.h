// The interface language, chosen once at start from the system locale.
#pragma once

namespace korvel {

// 1 when the locale's language is Russian, else 0. The locale is the first
// non-empty one of LC_ALL, LC_MESSAGES and LANG, as the C library and Qt take
// it; other Cyrillic languages (uk, be, ...) give English.
int IsRussianLocale(const char* lcAll, const char* lcMessages, const char* lang);

// Reads the environment and sets OscState.Russian.
void ChooseLanguage();

}  // namespace korvel
