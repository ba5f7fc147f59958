#include "cli/ui/OffscreenText.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <clocale>
#include <cstdlib>

#include "display/TextEngine.h"
#include "display/ui/QtTextEngine.h"

namespace korvel::cli {

namespace {

int appArgc = 1;
char appName[] = "korvel-cli";
char* appArgv[] = {appName, nullptr};

ui::QtTextEngine& Engine() {
    static ui::QtTextEngine engine;
    return engine;
}

}  // namespace

OffscreenText::OffscreenText() {
    if (QCoreApplication::instance() == nullptr) {
        // No window is ever shown: a display is neither needed nor asked for.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app_ = std::make_unique<QGuiApplication>(appArgc, appArgv);
    }
    std::setlocale(LC_NUMERIC, "C");
    InstallTextEngine(&Engine());
}

OffscreenText::~OffscreenText() {
    InstallTextEngine(nullptr);
}

bool SavePng(const Canvas& canvas, const std::string& path) {
    if (canvas.Width() <= 0 || canvas.Height() <= 0) return false;
    const QImage image(reinterpret_cast<const uchar*>(canvas.Pixels()), canvas.Width(),
                       canvas.Height(), canvas.Width() * 4, QImage::Format_RGB32);
    return image.save(QFile::decodeName(QByteArray::fromStdString(path)), "PNG");
}

}  // namespace korvel::cli
