#include "model/Language.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "model/OscState.h"
#include "model/Texts.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

TEST(Language, RussianOnlyForTheRussianLanguage) {
    for (const char* lang : {"ru_RU.UTF-8", "ru", "ru_UA.KOI8-U", "ru@latin"})
        EXPECT_EQ(IsRussianLocale(nullptr, nullptr, lang), 1) << lang;
    // Other Cyrillic languages and everything else: English.
    for (const char* lang : {"uk_UA.UTF-8", "be_BY.UTF-8", "en_US.UTF-8", "C", "rus"})
        EXPECT_EQ(IsRussianLocale(nullptr, nullptr, lang), 0) << lang;
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, nullptr), 0);
}

TEST(Language, LcAllThenLcMessagesThenLang) {
    EXPECT_EQ(IsRussianLocale("en_GB.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8"), 0);
    EXPECT_EQ(IsRussianLocale("ru_RU.UTF-8", "en_GB.UTF-8", "en_GB.UTF-8"), 1);
    EXPECT_EQ(IsRussianLocale("", "ru_RU.UTF-8", "en_GB.UTF-8"), 1);
    EXPECT_EQ(IsRussianLocale("", "", "ru_RU.UTF-8"), 1);
    EXPECT_EQ(IsRussianLocale("", "de_DE", "ru_RU.UTF-8"), 0);
}

class LanguageFromEnvironment : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = getenv(name);
            saved_.emplace_back(name, value != nullptr ? value : "");
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        CoreTest::TearDown();
    }
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(LanguageFromEnvironment, PicksTheTextsOfTheRun) {
    setenv("LANG", "ru_RU.UTF-8", 1);
    ChooseLanguage();
    EXPECT_EQ(OscState.Russian, 1);
    EXPECT_STREQ(Text(TextId::SaveConfigError), "Ошибка сохранения файла конфигурации");

    setenv("LC_ALL", "uk_UA.UTF-8", 1);
    ChooseLanguage();
    EXPECT_EQ(OscState.Russian, 0);
    EXPECT_STREQ(Text(TextId::SaveConfigError), "Error saving configuration file");
}

}  // namespace
}  // namespace korvel
