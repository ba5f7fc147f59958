// Qt's own texts follow the interface's language.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>

#include "app/ui/Application.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel::ui {
namespace {

class QtTexts : public test::CoreTest {
  protected:
    void TearDown() override {
        OscState.Russian = 0;
        TranslateQtTexts();
        CoreTest::TearDown();
    }
    static std::string Cancel() {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text().toStdString();
    }
    // The labels of the program's file dialog (Qt's own, not the desktop's).
    static std::string FileDialogLabels() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        std::string out;
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            out += dialog.findChild<QLabel*>(name)->text().toStdString() + "|";
        return out;
    }
};

TEST_F(QtTexts, RussianInterfaceThenEnglishAgain) {
    OscState.Russian = 1;
    EXPECT_TRUE(TranslateQtTexts());
    EXPECT_EQ(Cancel(), "Отмена");
    EXPECT_EQ(FileDialogLabels(), "Перейти к:|&Имя файла:|Типы файлов:|");

    OscState.Russian = 0;
    EXPECT_TRUE(TranslateQtTexts());
    EXPECT_EQ(Cancel(), "Cancel");
    EXPECT_EQ(FileDialogLabels(), "Look in:|File &name:|Files of type:|");
}

}  // namespace
}  // namespace korvel::ui
