// The real windows on the offscreen platform, driven through their widgets as
// a user would: keys, fields typed, boxes and buttons clicked, the mouse on
// the plots. The core tests check what the commands do; these check that the
// events reach them, and that the ports work on real widgets.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <memory>
#include <tuple>

#include "app/MainCommands.h"
#include "app/SettingsDialog.h"
#include "app/ui/Application.h"
#include "app/ui/DeviceDlg.h"
#include "app/ui/OscFrame.h"
#include "app/ui/SettingsDlg.h"
#include "canvas/ui/QtTextEngine.h"
#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/ui/PlotWidget.h"
#include "files/ConfigFile.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/SpectrumControlIds.h"
#include "ports/ui/NoticeDlg.h"
#include "ports/ui/QtClipboard.h"
#include "ports/ui/QtControls.h"
#include "ports/ui/QtDialogs.h"
#include "ports/ui/QtTimerHost.h"
#include "ports/ui/UpDownControl.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/ui/CSpectrum.h"
#include "spectrum/ui/SpectrumPlotWidget.h"
#include "support/CoreTest.h"

namespace korvel::ui {
namespace {

// The main window as the program makes it, its dialogs answered by the fakes.
class MainWindowTest : public test::CoreTest {
  protected:
    void TearDown() override {
        delete SpectrumWnd;
        frame.reset();
        CoreTest::TearDown();
    }
    // Made, shown at 1000 x 700 and active, the notice answered, the plot shown.
    void Open(bool fakeDialogs = true) {
        frame = std::make_unique<COscFrame>();
        if (fakeDialogs) Ports.dialogs = &ports.dialogs;
        SetMainWindowActive(true);
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->Plot()->isVisible(); }));
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    // A control of a bar by the bar's name ("top", "spectrumBottom", ...) and its id.
    template <typename T = QWidget>
    T* Control(const char* bar, int32_t id) const {
        QWidget* window = bar[0] == 's' ? static_cast<QWidget*>(SpectrumWnd) : frame.get();
        return window->findChild<T*>(QStringLiteral("%1%2").arg(bar).arg(id));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame.get(), key, modifiers);
    }
    static void TypeInto(QWidget* field, const char* text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    QImage PlotImage() const {
        return frame->Plot()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<COscFrame> frame;
};

// An instrument chosen in the Device dialog (the tests' fake behind it), F5
// taking its record through the CaptureTick timer, Escape cancelling one.
TEST_F(MainWindowTest, AnInstrumentChosenInTheDeviceDialogCapturesAndEscapeCancels) {
    Open();
    QStringList listed, channels;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CDeviceDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->Scanning()) return;
        auto* sources = dialog->findChild<QListWidget*>("sources");
        for (int row = 0; row < sources->count(); ++row)
            listed << sources->item(row)->text();
        sources->setCurrentRow(1);
        auto* channel = dialog->findChild<QComboBox*>("channel");
        for (int k = 0; k < channel->count(); ++k)
            channels << channel->itemText(k);
        channel->setCurrentIndex(1);
        dialog->findChild<QComboBox*>("rate")->setCurrentIndex(2);  // after "as the device is set"
        answer.stop();
        static_cast<QDialog*>(dialog)->accept();
    });
    answer.start(10);
    frame->Command(command::Device);
    EXPECT_EQ(listed, QStringList({"Simulated card", "demo: Demo device"}));
    EXPECT_EQ(channels, QStringList({"A0", "A1"}));
    EXPECT_EQ(ports.instrument.opened.channel, "A1");
    EXPECT_EQ(ports.instrument.opened.sampleRateHz, 1000000u);
    EXPECT_EQ(frame->windowTitle(),
              "KORVEL Oscillograph Release 1.05 \u2013 demo: Demo device, A1, 1 MHz");
    EXPECT_EQ(Control<QComboBox>("top", top::FrequencyList)->currentText(), "1 MHz");

    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    ports.instrument.samples = {7.0f};
    Key(Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([] { return OscState.CaptureBusy == 0; }));
    EXPECT_EQ(OscState.AccBuffer[0], 7.0f);
    ports.instrument.pollsPerRecord = 1000000;
    Key(Qt::Key_F5);
    QTest::qWait(50);
    EXPECT_EQ(OscState.CaptureBusy, 1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(OscState.CaptureBusy, 0);
    EXPECT_EQ(ports.instrument.cancels, 1);
    EXPECT_EQ(OscState.AccBuffer[0], 7.0f);
}

// The overview (its time labels), from a whole record's picture.
QImage OverviewImage() {
    const Rect& o = PlotState.OverviewRect;
    return QImage(reinterpret_cast<const uchar*>(PlotCanvas.Pixels()), PlotCanvas.Width(),
                  PlotCanvas.Height(), PlotCanvas.Width() * 4, QImage::Format_RGB32)
        .copy(o.left, o.top, o.right - o.left, o.bottom - o.top + 14);
}

// A new time step, from the list or from the Settings dialog's frequency
// buttons (Cancel puts the clock back, not the button), draws the whole plot
// again: the overview's times and the fields are never those of another scale.
TEST_F(MainWindowTest, ANewTimeStepRedrawsTheOverviewAndTheFields) {
    Open();
    Key(Qt::Key_F5);
    const QImage at80 = OverviewImage();
    auto* list = Control<QComboBox>("top", top::FrequencyList);
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_NE(OverviewImage(), at80);
    list->setCurrentIndex(0);
    emit list->activated(0);
    EXPECT_EQ(OverviewImage(), at80);

    // Base Frequency 40, the third button, Cancel: the clock goes back to 80 MHz,
    // the third frequency stays chosen; the screen is as that frequency's.
    list->setCurrentIndex(2);
    emit list->activated(2);
    const QImage at20 = OverviewImage();
    const QString min = Control<QLineEdit>("bottom", bottom::Min)->text();
    list->setCurrentIndex(0);
    emit list->activated(0);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* clock = dialog->Control<QLineEdit>(settings::BaseFrequency);
        clock->selectAll();
        QTest::keyClicks(clock, "40");
        dialog->Control<QAbstractButton>(settings::FrequencyButtons[2])->click();
        dialog->reject();
    });
    frame->Command(command::Settings);
    EXPECT_EQ(list->currentText(), "20 Mhz");
    EXPECT_EQ(Control<QLineEdit>("bottom", bottom::Min)->text(), min);
    EXPECT_EQ(OverviewImage(), at20);
}

// The spectrum window shows the spectrum of what the main plot shows: after
// typed fields, a zoom out by double click and a new capture, without being
// told to paint.
TEST_F(MainWindowTest, TheSpectrumWindowFollowsTheMainPlot) {
    Open();
    Key(Qt::Key_F5);
    QTest::mouseClick(Control("top", top::ShowSpectrum), Qt::LeftButton);
    ASSERT_TRUE(SpectrumWnd != nullptr && QTest::qWaitForWindowExposed(SpectrumWnd));
    auto follows = [] {
        return SpectrumData.CachedFirst == OscSettings.Data_S &&
               SpectrumData.CachedLast == OscSettings.Data_E;
    };
    ASSERT_TRUE(follows());
    TypeInto(Control<QLineEdit>("bottom", bottom::Width), "5");
    EXPECT_NE(SpectrumData.CachedLast, OscSettings.Data_E);  // not yet: at the next pass
    EXPECT_TRUE(QTest::qWaitFor(follows));
    TypeInto(Control<QLineEdit>("bottom", bottom::Min), "2");
    EXPECT_TRUE(QTest::qWaitFor(follows));
    const QImage before = SpectrumWnd->Plot()->grab().toImage();
    OscSettings.Invert = 1;  // another record, the same stretch
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    Key(Qt::Key_F5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return SpectrumWnd->Plot()->grab().toImage() != before; }));
}

// Escape takes back an armed zoom band, and a pointer that leaves the plot
// leaves the band where it was; in the spectrum window Escape drops a range
// being marked.
TEST_F(MainWindowTest, EscapeCancelsTheZoomBandAndTheSpectrumMarking) {
    Open();
    Key(Qt::Key_F5);
    PlotWidget* plot = frame->Plot();
    const Rect& s = PlotState.SubWindowRect;
    const QPoint inside((s.left + s.right) / 2, (s.top + s.bottom) / 2);
    QTest::mouseMove(plot, inside);
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, inside);
    ASSERT_EQ(PlotState.ZoomArmed, 1);
    const QImage armed = PlotImage();
    QTest::mouseMove(plot, inside + QPoint(60, 40));
    ASSERT_EQ(PlotState.BandShown, 1);
    const QImage band = PlotImage();
    QTest::mouseMove(plot, QPoint(inside.x(), PlotState.OverviewRect.top + 5));
    EXPECT_EQ(PlotImage(), band);  // outside: the band stays put
    Key(Qt::Key_Escape);
    EXPECT_EQ(PlotState.ZoomArmed, 0);
    EXPECT_EQ(PlotImage(), armed);
    const int32_t start = OscSettings.Data_S, end = OscSettings.Data_E;
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, inside + QPoint(60, 40));
    EXPECT_EQ(PlotState.ZoomArmed, 1);  // a new band, not the old one's second click
    EXPECT_EQ(OscSettings.Data_S, start);
    EXPECT_EQ(OscSettings.Data_E, end);

    QTest::mouseClick(Control("top", top::ShowSpectrum), Qt::LeftButton);
    ASSERT_TRUE(SpectrumWnd != nullptr && QTest::qWaitForWindowExposed(SpectrumWnd));
    SpectrumWnd->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(SpectrumWnd));
    SpectrumPlotWidget* spectrum = SpectrumWnd->Plot();
    const QPoint middle = spectrum->rect().center();
    const QImage unmarked = spectrum->grab().toImage();
    QTest::mouseClick(spectrum, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseMove(spectrum, middle + QPoint(50, 0));
    ASSERT_EQ(SpectrumView.Selecting, 1);
    QTest::keyClick(SpectrumWnd, Qt::Key_Escape);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    EXPECT_EQ(spectrum->grab().toImage(), unmarked);
}

// Up and Down in the Accumulator and Average over fields step them as their arrows do.
TEST_F(MainWindowTest, UpAndDownStepTheCountFields) {
    Open();
    auto* accumulator = Control<QLineEdit>("top", top::Accumulator);
    auto* average = Control<QLineEdit>("bottom", bottom::Average);
    const QString before = average->text();
    accumulator->setFocus();
    QTest::keyClick(accumulator, Qt::Key_Up);
    QTest::keyClick(accumulator, Qt::Key_Up);
    EXPECT_EQ(accumulator->text(), "3");
    QTest::keyClick(accumulator, Qt::Key_Down);
    EXPECT_EQ(accumulator->text(), "2");
    average->setFocus();
    QTest::keyClick(average, Qt::Key_Up);
    EXPECT_EQ(average->text(), QString::number(before.toInt() + 1));
}

// Rows [top, top + height) of a canvas as an image.
QImage Rows(const Canvas& canvas, int32_t top, int32_t height) {
    return QImage(reinterpret_cast<const uchar*>(canvas.Pixels()), canvas.Width(), canvas.Height(),
                  canvas.Width() * 4, QImage::Format_RGB32)
        .copy(0, top, canvas.Width(), height);
}

// The program's own notice, in Russian, answered by its OK button.
TEST_F(MainWindowTest, NoticeOnceAndF5CapturesIntoThePlot) {
    OscState.Russian = 1;
    QString notices;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&notices] {
        if (auto* notice = qobject_cast<CNoticeDlg*>(QApplication::activeModalWidget())) {
            notices += notice->Line1()->text() + "/" + notice->Line2()->text() + ";";
            notice->OkButton()->click();
        }
    });
    answer.start(10);
    Open(false);
    const QImage before = PlotImage();
    Key(Qt::Key_F5);
    EXPECT_NE(PlotImage(), before);
    // A paint shows the canvas as it is, without drawing the plots again.
    PlotCanvas.Pixels()[10 * PlotCanvas.Width() + 1] = 0xFF123456u;
    EXPECT_EQ(PlotImage(), Rows(PlotCanvas, 0, PlotCanvas.Height()));
    frame->resize(900, 650);
    EXPECT_TRUE(QTest::qWaitFor([this] { return PlotCanvas.Width() == frame->Plot()->width(); }));
    EXPECT_EQ(notices, QString::fromUtf8("KORVEL/Использую эмуляцию устройства;"));
}

TEST_F(MainWindowTest, KeysFieldsSpinsAndBoxes) {
    OscSettings.AutoConf = 1;
    Open();
    // F6 arms the external trigger on a real timer of 100 ms; two ticks, two records.
    TypeInto(Control("top", top::Accumulator), "2");
    Key(Qt::Key_F6);
    EXPECT_EQ(frame->Timers().PeriodMs(TimerId::ExtTrigger), 100);
    EXPECT_TRUE(QTest::qWaitFor([] { return OscState.ExtArmed == 0; }));

    TypeInto(Control("bottom", bottom::Average), "12abc");
    EXPECT_EQ(OscSettings.Av_Over, 12);
    QTest::mouseClick(Control<UpDownControl>("bottom", bottom::AverageSpin)->DownButton(),
                      Qt::LeftButton);
    EXPECT_EQ(Control<QLineEdit>("bottom", bottom::Average)->text(), "11");

    QTest::mouseClick(Control("top", top::Oscillograf), Qt::LeftButton);
    Key(Qt::Key_F5);
    EXPECT_EQ(frame->Timers().PeriodMs(TimerId::Oscillograph), 500);
    QTest::mouseClick(Control("top", top::Oscillograf), Qt::LeftButton);
    EXPECT_FALSE(frame->Timers().IsRunning(TimerId::Oscillograph));

    Key(Qt::Key_X, Qt::AltModifier);  // closes, and saves the settings
    LoadConfig();
    EXPECT_EQ(OscSettings.Av_Over, 11);
}

TEST_F(MainWindowTest, MouseOnThePlot) {
    Open();
    Key(Qt::Key_F5);
    QWindow* window = frame->windowHandle();
    const auto at = [this](int32_t x, int32_t y) {
        return frame->Plot()->mapTo(frame.get(), QPoint(x, y));
    };
    const auto span = [] { return std::pair{OscSettings.Data_S, OscSettings.Data_E}; };
    const PlotArea a = SubWindowArea;
    const int32_t x = a.axisX + 260, y = a.top + 100;
    // Click, move, click: the band's columns become the span; a double click
    // undoes the vertical zoom first.
    QTest::mouseClick(window, Qt::LeftButton, {}, at(x, y));
    QTest::mouseMove(window, at(x + 200, y + 100));
    QTest::mouseClick(window, Qt::LeftButton, {}, at(x + 200, y + 100));
    EXPECT_EQ(span(), (std::pair{IndexAt(a, x), IndexAt(a, x + 200)}));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at(x, y));
    EXPECT_EQ(OscState.ViewMax, OscSettings.D_max);
    // A drag pans under the closed hand.
    SetSubWindow(5000, 6000);
    QTest::mousePress(window, Qt::LeftButton, {}, at(x, y));
    QTest::mouseMove(window, at(x + 50, y));
    EXPECT_EQ(frame->Plot()->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(x + 50, y));
    EXPECT_EQ(span(), (std::pair{5000 - 50 * 1000 / a.width, 6000 - 50 * 1000 / a.width}));
    // The right button leaves the reference cross; a double click takes it away.
    QTest::mouseClick(window, Qt::RightButton, {}, at(x, y));
    EXPECT_EQ(PlotImage().pixel(a.axisX + 2, y) & 0xFFFFFF, 0x9BC89Bu);
    QTest::mouseDClick(window, Qt::RightButton, {}, at(x, y));
    EXPECT_EQ(PlotState.RefShown, 0);
}

TEST_F(MainWindowTest, SaveAndOpenByKeysButtonsAndTheRealDialog) {
    Open();
    Key(Qt::Key_F5);
    const std::vector<float> captured(OscState.Record, OscState.Record + MaxData);
    ports.dialogs.saveAnswers = {{TempDir() + "/whole.kbf", 2}};
    Key(Qt::Key_F4);
    ports.dialogs.openAnswers = {{TempDir() + "/whole.kbf", 3}, {TempDir() + "/none.ktf", 1}};
    QTest::mouseClick(Control("top", top::Open), Qt::LeftButton);
    EXPECT_EQ(std::vector<float>(OscState.FileData, OscState.FileData + MaxData), captured);
    Key(Qt::Key_F3);
    EXPECT_EQ(ports.dialogs.messages.at(0).text,
              "Error reading KORVEL data\n\nNo such file or directory");

    // The program's own dialog, in the current folder: the file type chosen
    // gives a name typed without one its extension.
    QtDialogs real(frame.get());
    Ports.dialogs = &real;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(TempDir());
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QComboBox*>("fileTypeCombo")->setFocus();
        QTest::keyClick(dialog->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Up);
        QTest::keyClicks(dialog->findChild<QLineEdit*>("fileNameEdit"), "typed");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::mouseClick(Control("top", top::Save), Qt::LeftButton);
    std::filesystem::current_path(before);
    EXPECT_EQ(ReadFile(TempDir() + "/typed.ktf").substr(0, 2), "0 ");
}

TEST_F(MainWindowTest, SettingsDialogByKeysAndClicks) {
    Open();
    const QImage before = PlotImage();
    QTimer::singleShot(0, [] {
        using namespace settings;
        auto& dialog = *qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget());
        // A click near the left end, where a check box has its box.
        const auto click = [&dialog](int32_t id) {
            QTest::mouseClick(dialog.Control(id), Qt::LeftButton, {},
                              QPoint(6, dialog.Control(id)->height() / 2));
        };
        TypeInto(dialog.Control(BaseFrequency), "40");
        EXPECT_EQ(dialog.Control<QLineEdit>(LengthEdit)->text(), "1638.35");  // at once
        dialog.Control(LengthSlider)->setFocus();
        QTest::keyClick(dialog.Control(LengthSlider), Qt::Key_Home);
        click(FrequencyButtons[2]);
        click(Grid);
        dialog.Control(LabelFontList)->setFocus();
        QTest::keyClick(dialog.Control(LabelFontList), Qt::Key_Down);
        QTest::keyClick(dialog.Control(VDigits), Qt::Key_Return);  // OK
        if (dialog.isVisible()) dialog.reject();
    });
    frame->Command(command::Settings);
    EXPECT_EQ(OscSettings.BaseFreq, 40.0f);
    EXPECT_EQ(OscSettings.Num_Data, 1);
    EXPECT_EQ(Control<QComboBox>("top", top::FrequencyList)->currentIndex(), 2);
    EXPECT_EQ(OscSettings.Grid, 1);
    EXPECT_EQ(OscSettings.LFontSize, 5);
    EXPECT_NE(PlotImage(), before);
}

TEST_F(MainWindowTest, SpectrumWindowRangeAndRun) {
    Open();
    Key(Qt::Key_F5);
    QTest::mouseClick(Control("top", top::ShowSpectrum), Qt::LeftButton);
    ASSERT_TRUE(SpectrumWnd != nullptr && QTest::qWaitForWindowExposed(SpectrumWnd));
    SpectrumPlotWidget* plot = SpectrumWnd->Plot();
    // The canvas is the client area; the plot shows its part between the bars.
    EXPECT_EQ(plot->grab().toImage().convertToFormat(QImage::Format_RGB32),
              Rows(SpectrumCanvas, SpectrumView.TopBarHeight, plot->height()));

    // Clicks at 100 and 300 choose the range; a double click widens it.
    const int y = plot->height() / 2;
    QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(100, y));
    QTest::mouseMove(plot, QPoint(200, y));
    QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(300, y));
    const float width = SpectrumView.VisHighFreq - SpectrumView.VisLowFreq;
    EXPECT_GT(SpectrumView.VisLowFrac, 0.0f);
    QTest::mouseDClick(plot, Qt::LeftButton, {}, QPoint(150, y));
    EXPECT_GT(SpectrumView.VisHighFreq - SpectrumView.VisLowFreq, 1.5f * width);

    // The run, accumulating, on a timer of 500 ms; closing the window ends it.
    QTest::mouseClick(Control("spectrumTop", spectrumTop::Accumulate), Qt::LeftButton);
    QTest::mouseClick(Control("spectrumTop", spectrumTop::Run), Qt::LeftButton);
    EXPECT_EQ(frame->Timers().PeriodMs(TimerId::SpectrumRun), 500);
    frame->Timers().Fire(TimerId::SpectrumRun);
    frame->Timers().Fire(TimerId::SpectrumRun);
    EXPECT_EQ(Control<QLabel>("spectrumTop", spectrumTop::Counter)->text(), "Accumulated: 2");
    SpectrumWnd->close();
    EXPECT_FALSE(frame->Timers().IsRunning(TimerId::SpectrumRun));
    EXPECT_TRUE(QTest::qWaitFor([] { return SpectrumWnd == nullptr; }));
}

// Under a Russian locale the C library writes "12,5"; the program's numbers
// keep their decimal point.
TEST_F(MainWindowTest, RussianLocaleKeepsTheDecimalPoint) {
    const std::string locale = TempDir() + "/ru_RU.UTF-8";
    if (std::system(("localedef -i ru_RU -f UTF-8 " + locale).c_str()) != 0) GTEST_SKIP();
    setenv("LOCPATH", TempDir().c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr);
    PrepareApplication();  // what the program does after making its application
    Open();
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    EXPECT_EQ(Control<QLineEdit>("bottom", bottom::Width)->text(), "12.5");
}

// The ports on real widgets, as the program's logic expects them to behave.
TEST(QtPorts, Utf8CopyKeepsWholeCharacters) {
    // Text, room in bytes with the terminator, what fits.
    const std::tuple<const char*, size_t, const char*> cases[] = {
        {"Накоплений", 5, "На"}, {"12abc", 5, "12ab"}, {"😀1", 5, "😀"}, {"a😀", 4, "a"}};
    for (const auto& [text, room, fits] : cases) {
        char buffer[8];
        EXPECT_EQ(CopyUtf8(QString::fromUtf8(text), buffer, room),
                  static_cast<int32_t>(std::strlen(fits)));
        EXPECT_STREQ(buffer, fits);
    }
}

// Each timer calls its own tick, the instrument's poll included, and runs at its own period.
TEST(QtPorts, EveryTimerHasItsOwnTick) {
    static std::string fired;
    QtTimerHost host;
    host.SetTick(TimerId::ExtTrigger, [] { fired += "e"; });
    host.SetTick(TimerId::Oscillograph, [] { fired += "o"; });
    host.SetTick(TimerId::SpectrumRun, [] { fired += "s"; });
    host.SetTick(TimerId::CaptureTick, [] { fired += "d"; });
    for (const TimerId id :
         {TimerId::CaptureTick, TimerId::SpectrumRun, TimerId::Oscillograph, TimerId::ExtTrigger})
        host.Fire(id);
    EXPECT_EQ(fired, "dsoe");
    host.Start(TimerId::CaptureTick, 20);
    host.Start(TimerId::SpectrumRun, 70);
    EXPECT_EQ(host.PeriodMs(TimerId::CaptureTick), 20);
    EXPECT_EQ(host.PeriodMs(TimerId::SpectrumRun), 70);
    host.Kill(TimerId::CaptureTick);
    EXPECT_FALSE(host.IsRunning(TimerId::CaptureTick));
    EXPECT_TRUE(host.IsRunning(TimerId::SpectrumRun));
}

// A write raises a field's handling as typing does, even of the same text;
// setting a box or a list from the program is not a click or a choice.
TEST(QtPorts, WritesAreHandledAsTypingButAreNotClicks) {
    static std::vector<int32_t> changed;
    QWidget bar;
    auto* field = new QLineEdit(&bar);
    auto* box = new QCheckBox(&bar);
    auto* list = new QComboBox(&bar);
    QtControls controls([](int32_t id) { changed.push_back(id); });
    controls.Add(1009, field);
    controls.Add(1013, box);
    controls.Add(1020, list);
    int userActions = 0;
    QObject::connect(box, &QCheckBox::clicked, [&] { ++userActions; });
    QObject::connect(list, &QComboBox::activated, [&] { ++userActions; });
    controls.SetText(1009, "3");
    controls.SetText(1009, "3");
    QTest::keyClicks(field, "12abc");
    EXPECT_EQ(changed, std::vector<int32_t>(7, 1009));
    char text[4];
    EXPECT_EQ(controls.GetText(1009, text, sizeof text), 3);
    EXPECT_STREQ(text, "312");
    controls.SetChecked(1013, true);
    controls.AddListItem(1020, "80 Mhz");
    controls.SelectListItem(1020, 0);
    EXPECT_TRUE(controls.IsChecked(1013));
    EXPECT_EQ(userActions, 0);
}

TEST(QtPorts, ClipboardAndFonts) {
    // Two rows of two pixels out of rows of three; 2 px in 0.5 mm: 4000 dots per metre.
    const uint32_t pixels[] = {0x00FF0000, 0x0000FF00, 0xDEAD, 0x000000FF, 0x00FFFFFF, 0xBEEF};
    ASSERT_TRUE(QtClipboard().SetBitmap(pixels, 2, 2, 3, 5, 10));
    const QImage image = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image,
              QImage(reinterpret_cast<const uchar*>(pixels), 2, 2, 12, QImage::Format_RGB32));
    EXPECT_EQ(image.dotsPerMeterX(), 4000);
    EXPECT_EQ(image.dotsPerMeterY(), 2000);

    // Fixed pitch in the cell heights of the size table; µ in the cell of the "m".
    QtTextEngine engine;
    for (const int32_t height : FontSizes) {
        Font courier, symbol;
        ASSERT_TRUE(engine.MakeFont("Courier", height, courier));
        ASSERT_TRUE(engine.MakeFont("Symbol", height, symbol));
        EXPECT_EQ(courier.Height(), height);
        EXPECT_EQ(symbol.Height(), height);
        for (unsigned char c = 32; c < 127; ++c)
            EXPECT_EQ(courier.Advance(c), symbol.Advance('m'));
        EXPECT_NE(std::memcmp(symbol.Glyph('m'), courier.Glyph('m'), courier.Advance('m') * height),
                  0);
    }
    Font other;
    EXPECT_FALSE(engine.MakeFont("No Such Face At All", 12, other));
}

}  // namespace
}  // namespace korvel::ui

// One application for all tests, on the offscreen platform unless another is
// asked for (test discovery runs this program too).
int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    korvel::ui::PrepareApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
