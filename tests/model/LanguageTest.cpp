#include "model/Language.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "model/OscState.h"
#include "model/Texts.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

// The first non-empty one of LC_ALL, LC_MESSAGES and LANG decides; only the
// Russian language gives Russian, not other Cyrillic ones.
TEST(Language, RussianOnlyForTheRussianLanguageOfTheFirstLocaleSet) {
    const struct {
        const char *all, *messages, *lang;
        int russian;
    } table[] = {{nullptr, nullptr, "ru_RU.UTF-8", 1},
                 {nullptr, nullptr, "ru", 1},
                 {nullptr, nullptr, "ru_UA.KOI8-U", 1},
                 {nullptr, nullptr, "ru@latin", 1},
                 {nullptr, nullptr, "uk_UA.UTF-8", 0},
                 {nullptr, nullptr, "be_BY.UTF-8", 0},
                 {nullptr, nullptr, "C", 0},
                 {nullptr, nullptr, "rus", 0},
                 {nullptr, nullptr, nullptr, 0},
                 {"en_GB.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", 0},
                 {"ru_RU.UTF-8", "en_GB", "en_GB", 1},
                 {"", "ru_RU.UTF-8", "en_GB.UTF-8", 1},
                 {"", "", "ru_RU.UTF-8", 1},
                 {"", "de_DE", "ru_RU.UTF-8", 0}};
    for (const auto& row : table)
        EXPECT_EQ(IsRussianLocale(row.all, row.messages, row.lang), row.russian) << row.lang;
}

using LanguageFromEnvironment = test::CoreTest;

TEST_F(LanguageFromEnvironment, PicksTheTextsOfTheRun) {
    const char* saved = getenv("LC_ALL");
    const std::string before = saved != nullptr ? saved : "";
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    ChooseLanguage();
    EXPECT_EQ(OscState.Russian, 1);
    EXPECT_STREQ(Text(TextId::SaveConfigError), "Ошибка сохранения файла конфигурации");
    setenv("LC_ALL", "uk_UA.UTF-8", 1);
    ChooseLanguage();
    EXPECT_EQ(OscState.Russian, 0);
    EXPECT_STREQ(Text(TextId::SaveConfigError), "Error saving configuration file");
    if (saved != nullptr)
        setenv("LC_ALL", before.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

}  // namespace
}  // namespace korvel
