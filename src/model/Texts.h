// Every user-visible text as an English/Russian pair (resources/texts/*.def).
#pragma once

namespace korvel {

enum class TextId {
#define KORVEL_TEXT(name, english, russian) name,
#include "texts/acquisition.def"
#include "texts/app.def"
#include "texts/display.def"
#include "texts/files.def"
#include "texts/spectrum.def"
#undef KORVEL_TEXT
    Count
};

// The text in the language of this run (OscState.Russian). Lives for the whole run.
const char* Text(TextId id);

// The text in a given language, 0 English or 1 Russian.
const char* TextIn(TextId id, int russian);

}  // namespace korvel
