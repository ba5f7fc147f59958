// The ports on real widgets behave as the program's logic expects of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "app/ResetAll.h"
#include "ports/ui/QtClipboard.h"
#include "ports/ui/QtControls.h"
#include "app/ui/QtFrame.h"

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

// A write raises a field's handling as typing does, even of the same text;
// setting a box or a list from the program is not a click or a choice.
TEST_F(QtPorts, WritesAreHandledAsTypingButAreNotClicks) {
    QWidget bar;
    auto* field = new QLineEdit(&bar);
    auto* box = new QCheckBox(&bar);
    auto* list = new QComboBox(&bar);
    QtControls controls(RecordChange);
    controls.Add(1009, field);
    controls.Add(1013, box);
    controls.Add(1020, list);
    int userActions = 0;
    QObject::connect(box, &QCheckBox::clicked, [&] { ++userActions; });
    QObject::connect(list, &QComboBox::activated, [&] { ++userActions; });

    controls.SetText(1009, "3");
    controls.SetText(1009, "3");
    QTest::keyClicks(field, "12abc");
    EXPECT_EQ(changed.size(), 7u);
    char text[4];
    EXPECT_EQ(controls.GetText(1009, text, sizeof text), 3);
    EXPECT_STREQ(text, "312");

    controls.SetChecked(1013, true);
    for (const char* item : {"80 Mhz", "40 Mhz", "20 Mhz"})
        controls.AddListItem(1020, item);
    controls.SelectListItem(1020, 2);
    EXPECT_TRUE(controls.IsChecked(1013));
    EXPECT_EQ(controls.SelectedListItem(1020), 2);
    EXPECT_EQ(userActions, 0);
    EXPECT_EQ(controls.SelectedListItem(4242), -1);
}

TEST_F(QtPorts, ClipboardGetsTheBitmapWithItsPhysicalSize) {
    const uint32_t pixels[] = {0x00FF0000, 0x0000FF00, 0xDEAD, 0x000000FF, 0x00FFFFFF, 0xBEEF};
    QtClipboard clipboard;
    // Two rows of two pixels out of rows of three; 2 px in 0.5 mm: 4000 dots per metre.
    ASSERT_TRUE(clipboard.SetBitmap(pixels, 2, 2, 3, 5, 10));
    const QImage image = QApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.dotsPerMeterX(), 4000);
    EXPECT_EQ(image.dotsPerMeterY(), 2000);
}

// The hourglass covers the program; the closed hand is the plot's, held at (16, 14).
TEST_F(QtPorts, PointerShapes) {
    QWidget window;
    auto* plot = new QWidget(&window);
    QtFrame frame(&window, plot);
    frame.SetPointer(Pointer::Hourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    frame.SetPointer(Pointer::Hand);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(plot->cursor().hotSpot(), QPoint(16, 14));
    EXPECT_EQ(plot->cursor().pixmap().size(), QSize(32, 32));
}

}  // namespace
}  // namespace korvel::ui
