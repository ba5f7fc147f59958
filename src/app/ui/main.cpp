// KORVEL: start-up of the program with its window.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <cstdio>

#include "app/StartUp.h"
#include "app/Texts.h"
#include "app/ui/Application.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    korvel::ui::PrepareApplication();

    if (korvel::StartUp() != 0) {
        QMessageBox box(QMessageBox::NoIcon, korvel::Text(korvel::TextId::NoMemoryCaption),
                        korvel::Text(korvel::TextId::NoMemoryMessage), QMessageBox::Ok);
        box.exec();
        return 0;
    }

    char title[128];
    std::snprintf(title, sizeof title, korvel::Text(korvel::TextId::MainTitleFormat), 1, 5);
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8(title));
    window.resize(1024, 768);
    window.showMaximized();
    return app.exec();
}
