// Open, Save and Win-save from the main window's keys and buttons, answered
// by a fake dialog port and by the real file dialog worked by hand.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "ports/ControlIds.h"
#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/ResetAll.h"
#include "app/ui/OscFrame.h"
#include "display/ui/PlotWidget.h"
#include "files/DataFileState.h"

namespace korvel::ui {
namespace {

// File dialogs answered from a queue; an empty answer is Cancel.
struct QueuedDialogs : Dialogs {
    void Message(const char* text, const char*) override { messages.emplace_back(text); }
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override {
        return Answer(request, path, size);
    }
    bool SaveFileName(FileDialogRequest& request, char* path, size_t size) override {
        return Answer(request, path, size);
    }
    bool Answer(FileDialogRequest& request, char* path, size_t size) {
        if (answers.empty()) return false;
        const auto [name, filter] = answers.front();
        answers.pop_front();
        if (name.empty() || name.size() >= size) return false;
        std::memcpy(path, name.c_str(), name.size() + 1);
        request.selectedFilter = filter;
        return true;
    }
    std::deque<std::pair<std::string, int32_t>> answers;
    std::vector<std::string> messages;
};

// What the dialog's Open or Save button does with the name typed.
void Accept(QFileDialog* dialog) {
    QMetaObject::invokeMethod(dialog, "accept");
}

class FileCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        char pattern[] = "/tmp/korvel-ui-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        OscState.DeviceReady = 1;  // no notice
        frame = std::make_unique<COscFrame>();
        SetMainWindowActive(true);
        frame->resize(1000, 700);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        ResetAllRecords();
        std::filesystem::remove_all(dir);
    }
    void Key(Qt::Key key) { QTest::keyClick(frame.get(), key); }
    QImage PlotImage() const { return frame->Plot()->grab().toImage(); }
    std::vector<float> Shown() const {
        return {OscState.Record, OscState.Record + OscSettings.Num_Data};
    }

    std::unique_ptr<COscFrame> frame;
    std::string dir;
};

TEST_F(FileCommandsTest, SaveThenOpenThroughTheKeysAndButtons) {
    QueuedDialogs dialogs;
    Ports.dialogs = &dialogs;
    Key(Qt::Key_F5);
    const std::vector<float> captured(OscState.Record, OscState.Record + MaxData);
    const QImage capturedImage = PlotImage();
    dialogs.answers = {{dir + "/whole.kbf", 2}, {dir + "/part.ktf", 1}, {"", 1}};
    Key(Qt::Key_F4);
    EXPECT_EQ(frame->windowTitle(), "KORVEL Oscillograph Release 1.05 : whole");
    Key(Qt::Key_F2);
    EXPECT_EQ(frame->windowTitle(), "KORVEL Oscillograph Release 1.05 : part");
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("top%1").arg(top::Save)),
                      Qt::LeftButton);  // cancelled
    EXPECT_TRUE(dialogs.answers.empty());
    EXPECT_TRUE(std::filesystem::exists(dir + "/whole.cf"));

    // Another capture, then the saved one back: the same samples and picture.
    OscSettings.Av_Over = 1;
    Key(Qt::Key_F5);
    dialogs.answers = {{dir + "/whole.kbf", 3}};
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("top%1").arg(top::Open)),
                      Qt::LeftButton);
    EXPECT_EQ(frame->windowTitle(), "KORVEL Oscillograph Release 1.05 : whole");
    EXPECT_EQ(OscState.FileView, 1);
    EXPECT_EQ(std::vector<float>(OscState.FileData, OscState.FileData + MaxData), captured);
    EXPECT_EQ(OscSettings.Av_Over, 3);  // the companion file's
    EXPECT_EQ(frame->findChild<QLineEdit*>(QStringLiteral("bottom%1").arg(bottom::Average))->text(),
              "3");
    EXPECT_NE(PlotImage(), capturedImage);  // the first quarter of the file is shown

    dialogs.answers = {{dir + "/part.ktf", 1}};
    Key(Qt::Key_F3);
    EXPECT_EQ(OscSettings.Num_Data, 1000);  // the sub-window then: 12.5 us from 0, truncated
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.answers = {{dir + "/none.ktf", 1}};
    Key(Qt::Key_F3);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Error reading KORVEL data"});
}

TEST_F(FileCommandsTest, TheRealFileDialogs) {
    // The dialogs open in the current folder; the user types a name there.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    Key(Qt::Key_F5);
    const std::vector<float> captured(OscState.Record, OscState.Record + MaxData);
    // The user picks the binary filter and types a name.
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Save KORVEL data to file");
        EXPECT_EQ(dialog->nameFilters().size(), 2);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, QStringLiteral("typed"));  // the file type gives the extension
        Accept(dialog);
    });
    Key(Qt::Key_F4);
    std::ifstream saved(dir + "/typed.kbf", std::ios::binary);
    char magic[5] = {};
    saved.read(magic, 4);
    EXPECT_STREQ(magic, "KFRF");

    // The window has the keys again once the dialog is gone.
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    Key(Qt::Key_F5);
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Read KORVEL data from file");
        EXPECT_EQ(dialog->nameFilters().size(), 3);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        types->setFocus();
        QTest::keyClick(types, Qt::Key_End);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, QStringLiteral("typed.kbf"));
        Accept(dialog);
    });
    Key(Qt::Key_F3);
    EXPECT_EQ(frame->windowTitle(), "KORVEL Oscillograph Release 1.05 : typed");
    EXPECT_EQ(std::vector<float>(OscState.FileData, OscState.FileData + MaxData), captured);
    EXPECT_EQ(DataFiles.OpenFilterIndex, 3);
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace korvel::ui
