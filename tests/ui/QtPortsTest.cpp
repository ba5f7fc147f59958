// The ports on real widgets behave as the program's logic expects of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QWidget>

#include "app/ResetAll.h"
#include "app/ui/Bitmaps.h"
#include "app/ui/QtClipboard.h"
#include "app/ui/QtControls.h"
#include "app/ui/QtFrame.h"
#include "app/ui/QtTimerHost.h"

namespace korvel::ui {
namespace {

std::vector<int32_t> changed;
void RecordChange(int32_t id) {
    changed.push_back(id);
}

class QtPorts : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        changed.clear();
    }
    void TearDown() override { ResetAllRecords(); }
};

TEST_F(QtPorts, Utf8CopyKeepsWholeCharacters) {
    char buffer[5];
    // Cyrillic letters take two bytes: four bytes hold two letters, and the
    // terminator needs the fifth.
    EXPECT_EQ(CopyUtf8(QString::fromUtf8("Накоплений"), buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "На");
    EXPECT_EQ(CopyUtf8(QStringLiteral("12abc"), buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "12ab");
    // A character outside the basic plane: four bytes or nothing.
    EXPECT_EQ(CopyUtf8(QString::fromUtf8("\xF0\x9F\x98\x80"
                                         "1"),
                       buffer, sizeof buffer),
              4);
    EXPECT_STREQ(buffer, "\xF0\x9F\x98\x80");
    EXPECT_EQ(CopyUtf8(QString::fromUtf8("a\xF0\x9F\x98\x80"), buffer, 4), 1);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(CopyUtf8(QStringLiteral("x"), buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
}

// Every write of a field raises its handling once, as typing does, even when
// the text does not change.
TEST_F(QtPorts, FieldsReportEveryWriteAndEveryKey) {
    QWidget bar;
    auto* field = new QLineEdit(&bar);
    QtControls controls(RecordChange);
    controls.Add(1009, field);

    controls.SetText(1009, "3");
    controls.SetText(1009, "3");
    EXPECT_EQ(changed, (std::vector<int32_t>{1009, 1009}));

    changed.clear();
    field->clear();
    changed.clear();
    QTest::keyClicks(field, "12abc");
    EXPECT_EQ(changed.size(), 5u);
    char text[4];
    EXPECT_EQ(controls.GetText(1009, text, sizeof text), 3);
    EXPECT_STREQ(text, "12a");
    EXPECT_EQ(controls.GetText(4242, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
}

// Setting a box or a list from the program is not a click or a choice.
TEST_F(QtPorts, ProgramChangesAreNotUserActions) {
    QWidget bar;
    auto* box = new QCheckBox(&bar);
    auto* list = new QComboBox(&bar);
    QtControls controls;
    controls.Add(1013, box);
    controls.Add(1020, list);
    int clicks = 0, choices = 0;
    QObject::connect(box, &QCheckBox::clicked, [&] { ++clicks; });
    QObject::connect(list, &QComboBox::activated, [&] { ++choices; });

    controls.SetChecked(1013, true);
    EXPECT_TRUE(controls.IsChecked(1013));
    for (const char* item : {"80 Mhz", "40 Mhz", "20 Mhz"})
        controls.AddListItem(1020, item);
    controls.SelectListItem(1020, 2);
    EXPECT_EQ(controls.SelectedListItem(1020), 2);
    controls.ClearList(1020);
    EXPECT_EQ(controls.SelectedListItem(1020), -1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(choices, 0);
    EXPECT_FALSE(controls.IsChecked(4242));
    EXPECT_EQ(controls.SelectedListItem(4242), -1);
}

TEST_F(QtPorts, ProgressAndVisibility) {
    QWidget bar;
    auto* progress = new QProgressBar(&bar);
    auto* label = new QLabel(&bar);
    QtControls controls;
    controls.Add(1023, progress);
    controls.Add(1027, label);
    bar.show();
    controls.SetProgressRange(1023, 0, 5);
    controls.SetProgressPos(1023, 3);
    EXPECT_EQ(progress->maximum(), 5);
    EXPECT_EQ(progress->value(), 3);
    controls.Show(1023, false);
    EXPECT_FALSE(progress->isVisible());
    controls.SetText(1027, "Накоплений");
    EXPECT_EQ(label->text(), QString::fromUtf8("Накоплений"));
    EXPECT_TRUE(changed.empty());  // a static text has no handling
}

int ticks = 0;
void CountTick() {
    ++ticks;
}

TEST_F(QtPorts, TimersCallTheirTickAndNeverSpin) {
    QtTimerHost timers;
    timers.SetTick(TimerId::Oscillograph, CountTick);
    ticks = 0;
    timers.Start(TimerId::Oscillograph, 500);
    EXPECT_TRUE(timers.IsRunning(TimerId::Oscillograph));
    EXPECT_EQ(timers.PeriodMs(TimerId::Oscillograph), 500);
    EXPECT_FALSE(timers.IsRunning(TimerId::ExtTrigger));
    timers.Fire(TimerId::Oscillograph);
    EXPECT_EQ(ticks, 1);
    timers.Start(TimerId::Oscillograph, 0);  // 1000 / a huge rate
    EXPECT_EQ(timers.PeriodMs(TimerId::Oscillograph), 1);
    timers.Kill(TimerId::Oscillograph);
    EXPECT_FALSE(timers.IsRunning(TimerId::Oscillograph));
    timers.Fire(TimerId::SpectrumRun);  // no tick set: nothing happens
    EXPECT_EQ(ticks, 1);

    timers.Start(TimerId::ExtTrigger, 1);
    timers.SetTick(TimerId::ExtTrigger, CountTick);
    EXPECT_TRUE(QTest::qWaitFor([] { return ticks >= 2; }, 5000));
}

TEST_F(QtPorts, ClipboardGetsTheBitmapWithItsPhysicalSize) {
    const uint32_t pixels[] = {0x00FF0000, 0x0000FF00, 0xDEAD, 0x000000FF, 0x00FFFFFF, 0xBEEF};
    QtClipboard clipboard;
    // Two rows of two pixels out of rows of three; 2 px in 0.5 mm: 4000 dots per metre.
    ASSERT_TRUE(clipboard.SetBitmap(pixels, 2, 2, 3, 5, 10));
    const QImage image = QApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.dotsPerMeterX(), 4000);
    EXPECT_EQ(image.dotsPerMeterY(), 2000);
}

TEST_F(QtPorts, PointerShapes) {
    QWidget window;
    auto* plot = new QWidget(&window);
    QtFrame frame(&window, plot);
    frame.SetPointer(Pointer::Hourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    frame.SetPointer(Pointer::Hourglass);
    frame.SetPointer(Pointer::SizeWE);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(plot->cursor().shape(), Qt::SizeHorCursor);
    frame.SetPointer(Pointer::Hand);
    EXPECT_EQ(plot->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(plot->cursor().hotSpot(), QPoint(16, 14));
    EXPECT_EQ(plot->cursor().pixmap().size(), QSize(32, 32));
    frame.SetPointer(Pointer::Arrow);
    EXPECT_EQ(plot->cursor().shape(), Qt::ArrowCursor);

    frame.SetTitle("KORVEL Цифровой Осциллограф. Версия 1.05");
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("KORVEL Цифровой Осциллограф. Версия 1.05"));
}

TEST_F(QtPorts, BitmapsByNameWhateverTheCase) {
    for (const char* name : {"open", "save", "save1", "B1Bitmap", "B1Bitmaw", "SBitmap", "B4Bitmap",
                             "B2Bitmap", "b2bitmap", "hand"}) {
        EXPECT_FALSE(Bitmap(name).isNull()) << name;
    }
    const QImage unselected = Bitmap("118").toImage();
    const QImage selected = Bitmap("119").toImage();
    ASSERT_EQ(unselected.size(), QSize(14, 6));
    ASSERT_EQ(selected.size(), QSize(14, 6));
    EXPECT_EQ(selected.pixel(7, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(unselected.pixel(0, 0) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_TRUE(Bitmap("nothing").isNull());
}

}  // namespace
}  // namespace korvel::ui
