// KORVEL: start-up of the program with its window.
#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <string>

#ifdef KORVEL_HAVE_SIGROK
#include "acquisition/sigrok/SigrokInstrumentPort.h"
#include "files/sigrok/SigrokExchangePort.h"
#endif

#include "app/MainCommands.h"
#include "app/SourceCommands.h"
#include "app/StartUp.h"
#include "app/ui/Application.h"
#include "app/ui/OscFrame.h"
#include "files/DeviceFile.h"
#include "model/Texts.h"
#include "ports/Ports.h"
#include "ports/ui/UiText.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    korvel::ui::PrepareApplication();

    korvel::StartUp();
    korvel::ui::TranslateQtTexts();
#ifdef KORVEL_HAVE_SIGROK
    korvel::Ports.instrument = &korvel::SigrokInstrumentPort();
    korvel::Ports.exchange = &korvel::SigrokExchangePort();
#endif
    // --device DEVICE: the source to start with, instead of the last run's.
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype k = 1; k < arguments.size(); ++k) {
        QString device;
        if (arguments[k] == "--device" && k + 1 < arguments.size()) {
            device = arguments[++k];
        } else if (arguments[k].startsWith("--device=")) {
            device = arguments[k].mid(9);
        } else {
            continue;
        }
        korvel::InstrumentChoice choice;
        std::string error;
        if (!korvel::ParseDeviceChoice(device.toStdString(), choice, error)) {
            std::fprintf(stderr, "korvel: --device %s: %s\n", device.toLocal8Bit().constData(),
                         error.c_str());
            return 2;
        }
        korvel::SetStartSource(choice);
    }

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
