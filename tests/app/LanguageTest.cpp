#include "app/Language.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/OscState.h"
#include "app/Texts.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

TEST(Language, RussianOnlyForTheRussianLanguage) {
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "ru_RU.UTF-8"), 1);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "ru"), 1);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "ru_UA.KOI8-U"), 1);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "ru@latin"), 1);
    // Other Cyrillic languages and everything else: English.
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "uk_UA.UTF-8"), 0);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "be_BY.UTF-8"), 0);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "en_US.UTF-8"), 0);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "C"), 0);
    EXPECT_EQ(IsRussianLocale(nullptr, nullptr, "rus"), 0);
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

TEST(Texts, TitleInBothLanguages) {
    char title[128];
    std::snprintf(title, sizeof title, TextIn(TextId::MainTitleFormat, 0), 1, 5);
    EXPECT_STREQ(title, "KORVEL Oscillograph Release 1.05");
    std::snprintf(title, sizeof title, TextIn(TextId::MainTitleFormat, 1), 1, 5);
    EXPECT_STREQ(title, "KORVEL Цифровой Осциллограф. Версия 1.05");
}

}  // namespace
}  // namespace korvel
