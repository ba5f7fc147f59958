#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <clocale>
#include <cstdio>

#include "app/ui/Application.h"

namespace {

// The program's number texts keep a decimal point whatever locale Qt took.
TEST(Application, NumbersAreFormattedInTheCLocale) {
    korvel::ui::PrepareApplication();
    char text[32];
    std::snprintf(text, sizeof text, "%g", 3.5);
    EXPECT_STREQ(text, "3.5");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

}  // namespace
