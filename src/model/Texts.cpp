#include "model/Texts.h"

#include "model/OscState.h"

namespace korvel {

namespace {

struct TextPair {
    const char* english;
    const char* russian;
};

constexpr TextPair kTexts[] = {
#define KORVEL_TEXT(name, english, russian) {english, russian},
#include "texts/acquisition.def"
#include "texts/app.def"
#include "texts/display.def"
#include "texts/files.def"
#include "texts/spectrum.def"
#undef KORVEL_TEXT
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == static_cast<int>(TextId::Count));

}  // namespace

const char* TextIn(TextId id, int russian) {
    const TextPair& pair = kTexts[static_cast<int>(id)];
    return russian != 0 ? pair.russian : pair.english;
}

const char* Text(TextId id) {
    return TextIn(id, OscState.Russian);
}

}  // namespace korvel
