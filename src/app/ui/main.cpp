// KORVEL: start-up of the program with its window.
#include <QApplication>
#include <QScreen>

#include "app/MainCommands.h"
#include "app/StartUp.h"
#include "app/ui/Application.h"
#include "app/ui/OscFrame.h"
#include "model/Texts.h"
#include "ports/ui/UiText.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    korvel::ui::PrepareApplication();

    korvel::StartUp();

    korvel::ui::COscFrame frame;
    // The program ends with its main window, whatever other window is open.
    QObject::connect(&frame, &korvel::ui::COscFrame::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    korvel::SetMainWindowActive(true);
    // Maximised; without a window manager (a bare X server) that does not
    // resize, so the window also takes the screen's size itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        frame.setGeometry(screen->availableGeometry());
    }
    frame.showMaximized();
    return app.exec();
}
