// The real main window as the program makes it, in a private configuration
// folder, with dialogs that answer at once and remember what they showed.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/MainCommands.h"
#include "app/ResetAll.h"
#include "app/ui/OscFrame.h"

namespace korvel::ui {

struct AnsweringDialogs : Dialogs {
    void Message(const char* text, const char*) override { messages.emplace_back(text); }
    void Notice(const char* line1, const char* line2) override {
        notices.push_back(std::string(line1) + "/" + line2);
    }
    std::vector<std::string> messages, notices;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        char pattern[] = "/tmp/korvel-ui-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    void TearDown() override {
        frame.reset();
        ResetAllRecords();
        std::filesystem::remove_all(dir);
    }
    // Built, made the main window, shown at 1000 x 700 and active.
    void Open() {
        frame = std::make_unique<COscFrame>();
        Ports.dialogs = &dialogs;
        SetMainWindowActive(true);
        frame->resize(1000, 700);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    // A control of the main window's bars by its id.
    template <typename T>
    T* Top(int32_t id) const {
        return frame->findChild<T*>(QStringLiteral("top%1").arg(id));
    }
    template <typename T>
    T* Bottom(int32_t id) const {
        return frame->findChild<T*>(QStringLiteral("bottom%1").arg(id));
    }

    std::unique_ptr<COscFrame> frame;
    AnsweringDialogs dialogs;
    std::string dir;
};

}  // namespace korvel::ui
