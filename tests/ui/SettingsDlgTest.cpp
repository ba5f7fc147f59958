// The Settings dialog, alone and behind the main window's Settings command,
// worked through its real controls.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "ports/ControlIds.h"
#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/ResetAll.h"
#include "app/ui/OscFrame.h"
#include "display/ui/PlotWidget.h"
#include "files/ConfigFile.h"
#include "app/SettingsDialog.h"
#include "app/ui/SettingsDlg.h"
#include "app/ui/TickSlider.h"

namespace korvel::ui {
namespace {

using namespace settings;

class SettingsDlgTest : public ::testing::Test {
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
    // The main window as the program makes it; no notice (the device is set up).
    void OpenFrame() {
        OscState.DeviceReady = 1;
        frame = std::make_unique<COscFrame>();
        SetMainWindowActive(true);
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    // Runs the Settings command; user() works the dialog while it is open and
    // must close it.
    void Settings(std::function<void(CSettingsDlg&)> user) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            user(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        frame->Command(command::Settings);
        EXPECT_TRUE(ran);
    }
    static void TypeInto(CSettingsDlg& dialog, int32_t id, const char* text) {
        auto* field = dialog.Control<QLineEdit>(id);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    // A click near the left end, where a check box has its box.
    static void Click(CSettingsDlg& dialog, int32_t id) {
        QWidget* control = dialog.Control(id);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    }

    std::unique_ptr<COscFrame> frame;
    std::string dir;
};

TEST_F(SettingsDlgTest, EveryControlInTheTemplatesOrder) {
    CSettingsDlg dialog;
    const int32_t order[] = {AutoNorm,
                             Min,
                             Max,
                             Bipolar,
                             Invert,
                             BaseAddress,
                             BaseFrequency,
                             Dividers[0],
                             Dividers[1],
                             Dividers[2],
                             Dividers[3],
                             FrequencyButtons[0],
                             FrequencyButtons[1],
                             FrequencyButtons[2],
                             FrequencyButtons[3],
                             Amplitude,
                             ZeroLevel,
                             LabelsX,
                             LabelsY,
                             Grid,
                             PrehistorySlider,
                             PrehistoryEdit,
                             LengthSlider,
                             LengthEdit,
                             LabelFontList,
                             MessageFontList,
                             TDigits,
                             VDigits,
                             Sound,
                             AutoConf,
                             Ok,
                             SaveSettings,
                             Cancel};
    // The Tab key goes from each to the next.
    QWidget* previous = nullptr;
    for (const int32_t id : order) {
        QWidget* control = dialog.Control(id);
        ASSERT_NE(control, nullptr) << id;
        if (previous != nullptr) {
            QWidget* next = previous->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            EXPECT_EQ(next, control) << id;
        }
        previous = control;
    }
    for (const int32_t id :
         {MinLabel, MaxLabel, BaseAddressLabel, BaseFrequencyLabel, AmplitudeLabel, ZeroLevelLabel,
          LabelsXLabel, PrehistoryLabel, LengthLabel, LabelFontLabel, MessageFontLabel,
          TDigitsLabel, VDigitsLabel})
        EXPECT_NE(dialog.Control<QLabel>(id), nullptr) << id;

    EXPECT_EQ(dialog.windowTitle(), "Settings");
    EXPECT_EQ(dialog.Control<QCheckBox>(AutoConf)->text(), "Save Configuration on Exit");
    EXPECT_EQ(dialog.Control<QLineEdit>(BaseAddress)->text(), "300");
    EXPECT_FALSE(dialog.Control<QLineEdit>(Min)->isEnabled());
    auto* sizes = dialog.Control<QComboBox>(LabelFontList);
    EXPECT_EQ(sizes->count(), 11);
    EXPECT_EQ(sizes->maxVisibleItems(), 11);
    EXPECT_EQ(sizes->currentText(), "12");
    EXPECT_EQ(dialog.Control<QComboBox>(MessageFontList)->currentText(), "14");
    EXPECT_FALSE(dialog.Control<QPushButton>(FrequencyButtons[0])->icon().isNull());
    auto* prehistory = dialog.Control<TickSlider>(PrehistorySlider);
    EXPECT_EQ(prehistory->maximum(), 255);
    EXPECT_EQ(prehistory->Ticks(), (std::vector<int>{31, 62, 93, 124, 155, 186, 217, 249}));
    EXPECT_LT(prehistory->TickX(31), prehistory->TickX(62));
    EXPECT_EQ(dialog.Control<TickSlider>(LengthSlider)->value(), MaxData);
    // The red mark on the chosen frequency, grey on the others.
    const QImage chosen =
        dialog.Control<QPushButton>(FrequencyButtons[0])->icon().pixmap(14, 6).toImage();
    const QImage other =
        dialog.Control<QPushButton>(FrequencyButtons[1])->icon().pixmap(14, 6).toImage();
    EXPECT_EQ(chosen.pixelColor(7, 3), QColor(255, 0, 0));
    EXPECT_EQ(other.pixelColor(7, 3), QColor(192, 192, 192));

    OscState.Russian = 1;
    CSettingsDlg russian;
    EXPECT_EQ(russian.windowTitle(), QString::fromUtf8("Установки"));
    EXPECT_EQ(russian.Control<QLabel>(LengthLabel)->text(), QString::fromUtf8("Длина записи"));
    EXPECT_EQ(russian.Control<QPushButton>(Cancel)->text(), QString::fromUtf8("Отмена"));
    EXPECT_EQ(russian.Control<QPushButton>(Ok)->text(), "OK");
}

TEST_F(SettingsDlgTest, CancelAndEscapeRestoreWhatActedAtOnce) {
    OpenFrame();
    auto* frequencies =
        frame->findChild<QComboBox*>(QStringLiteral("top%1").arg(top::FrequencyList));
    Settings([](CSettingsDlg& dialog) {
        TypeInto(dialog, BaseFrequency, "40");
        EXPECT_EQ(OscState.SamplePeriod, 0.025f);
        EXPECT_EQ(dialog.Control<QLineEdit>(LengthEdit)->text(), "1638.35");
        auto* length = dialog.Control<TickSlider>(LengthSlider);
        length->setFocus();
        QTest::keyClick(length, Qt::Key_Home);
        EXPECT_EQ(OscSettings.Num_Data, 1);
        EXPECT_EQ(dialog.Control<QLineEdit>(LengthEdit)->text(), "0.025");
        Click(dialog, FrequencyButtons[2]);
        EXPECT_EQ(OscSettings.Korv_Freq, 2);
        TypeInto(dialog, LabelsX, "3");
        Click(dialog, Cancel);
    });
    EXPECT_EQ(OscSettings.BaseFreq, 80.0f);
    EXPECT_EQ(OscSettings.Num_Data, MaxData);
    EXPECT_EQ(OscSettings.Labels_X, 10);
    // The frequency index stays with its time scale, and the list shows it.
    EXPECT_EQ(OscSettings.Korv_Freq, 2);
    EXPECT_EQ(OscState.SamplePeriod, 0.05f);
    EXPECT_EQ(frequencies->currentIndex(), 2);
    EXPECT_EQ(frequencies->itemText(0), "80 Mhz");

    Settings([](CSettingsDlg& dialog) {
        TypeInto(dialog, PrehistoryEdit, "100");
        EXPECT_EQ(OscSettings.Prehistory, 7);  // 100 us of 3276.7 us in 255 steps
        QTest::keyClick(dialog.Control<QLineEdit>(PrehistoryEdit), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(OscSettings.Prehistory, 0);
}

TEST_F(SettingsDlgTest, OkTakesTheFieldsAndRedraws) {
    OpenFrame();
    OscSettings.Prehistory = 100;
    const QImage before = frame->Plot()->grab().toImage();
    Settings([](CSettingsDlg& dialog) {
        TypeInto(dialog, BaseAddress, "30f");
        Click(dialog, AutoNorm);
        EXPECT_TRUE(dialog.Control<QLineEdit>(Min)->isEnabled());
        TypeInto(dialog, Min, "-500");
        TypeInto(dialog, Max, "500");
        Click(dialog, Grid);
        auto* sizes = dialog.Control<QComboBox>(LabelFontList);
        sizes->setFocus();
        QTest::keyClick(sizes, Qt::Key_Down);
        // Enter presses OK.
        QTest::keyClick(dialog.Control<QLineEdit>(VDigits), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(OscSettings.BaseAddr, 0x30C);
    EXPECT_EQ(OscSettings.AutoNorm, 0);
    EXPECT_EQ(OscSettings.D_min, -500.0f);
    EXPECT_EQ(OscSettings.D_max, 500.0f);
    EXPECT_EQ(OscSettings.Grid, 1);
    EXPECT_EQ(OscSettings.LFontSize, 5);
    EXPECT_EQ(OscSettings.Prehistory, 100);
    EXPECT_EQ(OscSettings.Num_Data, MaxData);
    EXPECT_NE(frame->Plot()->grab().toImage(), before);

    // "Save Settings" writes the file and leaves the dialog open.
    Settings([](CSettingsDlg& dialog) {
        TypeInto(dialog, LabelsY, "4");
        Click(dialog, SaveSettings);
        EXPECT_TRUE(dialog.isVisible());
        Click(dialog, Cancel);
    });
    ResetOscSettings();
    LoadConfig();
    EXPECT_EQ(OscSettings.Labels_Y, 4);
    EXPECT_EQ(OscSettings.BaseAddr, 0x30C);
}

}  // namespace
}  // namespace korvel::ui
