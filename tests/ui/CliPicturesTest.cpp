// korvel-cli's pictures against the windows' own: a capture that korvel-cli
// saved, opened in the main window (F3), is the very picture that korvel-cli
// draws of the file, pixel for pixel, and so is the spectrum window's plot.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ports/ControlIds.h"
#include "app/MainCommands.h"
#include "model/OscState.h"
#include "app/ResetAll.h"
#include "app/ui/OscFrame.h"
#include "display/Plot.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/ui/CSpectrum.h"

namespace korvel::ui {
namespace {

// The Open dialog answers with one file, "All files" chosen.
struct OpenOneFile : Dialogs {
    void Message(const char* text, const char*) override { messages.emplace_back(text); }
    void Notice(const char*, const char*) override {}
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override {
        if (file.empty() || file.size() >= size) return false;
        std::memcpy(path, file.c_str(), file.size() + 1);
        request.selectedFilter = 3;
        return true;
    }
    std::string file;
    std::vector<std::string> messages;
};

QImage CanvasRows(const Canvas& canvas, int32_t top, int32_t height) {
    const QImage all(reinterpret_cast<const uchar*>(canvas.Pixels()), canvas.Width(),
                     canvas.Height(), canvas.Width() * 4, QImage::Format_RGB32);
    return all.copy(0, top, canvas.Width(), height);
}

QString SizeText(int32_t width, int32_t height) {
    return QStringLiteral("%1x%2").arg(width).arg(height);
}

class CliPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        char pattern[] = "/tmp/korvel-ui-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    void TearDown() override {
        delete SpectrumWnd;
        frame.reset();
        ResetAllRecords();
        std::filesystem::remove_all(dir);
    }
    // korvel-cli with the test's settings folder; its exit status.
    int Cli(const QStringList& arguments) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir));
        cli.setProcessEnvironment(env);
        cli.setWorkingDirectory(QString::fromStdString(dir));
        cli.start(QStringLiteral(KORVEL_CLI), arguments);
        if (!cli.waitForFinished(60000)) return -1;
        errors = cli.readAllStandardError();
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    QImage Png(const char* name) const {
        return QImage(QString::fromStdString(dir + "/" + name))
            .convertToFormat(QImage::Format_RGB32);
    }
    // The main window as the program makes it, with the file opened by F3.
    void OpenInWindow(const std::string& file) {
        frame = std::make_unique<COscFrame>();
        Ports.dialogs = &dialogs;
        SetMainWindowActive(true);
        frame->resize(1000, 700);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        dialogs.file = file;
        QTest::keyClick(frame.get(), Qt::Key_F3);
        ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
    }

    std::unique_ptr<COscFrame> frame;
    OpenOneFile dialogs;
    std::string dir;
    QByteArray errors;
};

TEST_F(CliPicturesTest, PlotOfASavedCaptureIsTheMainWindowsCanvas) {
    ASSERT_EQ(Cli({"capture", "--records", "2", "--out", "rec.kbf"}), 0) << errors.constData();
    OpenInWindow(dir + "/rec.kbf");
    const int32_t w = PlotCanvas.Width();
    const int32_t h = PlotCanvas.Height();
    ASSERT_GT(w, 300);
    ASSERT_GT(h, 200);

    ASSERT_EQ(Cli({"plot", "rec.kbf", "--out", "opened.png", "--size", SizeText(w, h)}), 0)
        << errors.constData();
    const QImage opened = Png("opened.png");
    ASSERT_EQ(opened.size(), QSize(w, h));
    EXPECT_TRUE(opened == CanvasRows(PlotCanvas, 0, h));

    // The Min and Width fields typed into, in the window and on the command line.
    Ports.bottomBar->SetText(bottom::Min, "100");
    Ports.bottomBar->SetText(bottom::Width, "25");
    ASSERT_EQ(Cli({"plot", "rec.kbf", "--out", "zoom.png", "--size", SizeText(w, h), "--from",
                   "100", "--width", "25"}),
              0);
    const QImage zoomed = Png("zoom.png");
    EXPECT_FALSE(zoomed == opened);
    EXPECT_TRUE(zoomed == CanvasRows(PlotCanvas, 0, h));

    // The spectrum window on that stretch: its plot between the bars.
    QTest::mouseClick(
        frame->findChild<QPushButton*>(QStringLiteral("top%1").arg(top::ShowSpectrum)),
        Qt::LeftButton);
    ASSERT_NE(SpectrumWnd, nullptr);
    SpectrumWnd->resize(640, 420);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(SpectrumWnd));
    QTest::qWait(50);
    const SpectrumViewRecord& v = SpectrumView;
    const int32_t sh = SpectrumCanvas.Height() - v.TopBarHeight - v.BottomBarHeight;
    ASSERT_GT(sh, 100);
    ASSERT_EQ(Cli({"plot", "rec.kbf", "--out", "spectrum.png", "--spectrum", "--size",
                   SizeText(SpectrumCanvas.Width(), sh), "--from", "100", "--width", "25"}),
              0);
    EXPECT_TRUE(Png("spectrum.png") == CanvasRows(SpectrumCanvas, v.TopBarHeight, sh));
}

}  // namespace
}  // namespace korvel::ui
