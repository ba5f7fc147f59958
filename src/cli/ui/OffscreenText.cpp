#include "cli/ui/OffscreenText.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "canvas/TextEngine.h"
#include "canvas/ui/QtTextEngine.h"
#include "files/FileReplace.h"

namespace korvel::cli {

namespace {

int appArgc = 1;
char appName[] = "korvel-cli";
char* appArgv[] = {appName, nullptr};

// The standard error carries the companion's own messages: Qt's notes about
// the session it finds (no runtime folder, no display) are no concern of a
// script, so only its failures pass.
void QuietQtNotes(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "korvel-cli: %s\n", text.toLocal8Bit().constData());
    }
}

ui::QtTextEngine& Engine() {
    static ui::QtTextEngine engine;
    return engine;
}

}  // namespace

OffscreenText::OffscreenText() {
    if (QCoreApplication::instance() == nullptr) {
        // No window is ever shown: a display is neither needed nor asked for.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        qInstallMessageHandler(QuietQtNotes);
        app_ = std::make_unique<QGuiApplication>(appArgc, appArgv);
    }
    std::setlocale(LC_NUMERIC, "C");
    InstallTextEngine(&Engine());
}

OffscreenText::~OffscreenText() {
    InstallTextEngine(nullptr);
}

FileStatus SavePng(const Canvas& canvas, int32_t top, int32_t height, const std::string& path) {
    if (canvas.Width() <= 0 || top < 0 || height <= 0 || top + height > canvas.Height()) {
        return SystemFault(EINVAL);
    }
    const uint32_t* first = canvas.Pixels() + static_cast<size_t>(top) * canvas.Width();
    const QImage image(reinterpret_cast<const uchar*>(first), canvas.Width(), height,
                       canvas.Width() * 4, QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return SystemFault(ENOMEM);
    return ReplaceFileContents(path, {png.constData(), static_cast<size_t>(png.size())});
}

}  // namespace korvel::cli
