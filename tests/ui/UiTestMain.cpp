// The ui tests' main: one QApplication for all tests, on the offscreen platform
// unless another is asked for (test discovery runs this binary too).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/ui/Application.h"

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    korvel::ui::PrepareApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
