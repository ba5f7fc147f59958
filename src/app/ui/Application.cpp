#include "app/ui/Application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>

#include "model/OscState.h"

// The resources are linked from a static library, where nothing else would
// pull them in; the registration has to be named from outside any namespace.
static void RegisterResources() {
    Q_INIT_RESOURCE(korvel);
}

namespace korvel::ui {

void PrepareApplication() {
    std::setlocale(LC_NUMERIC, "C");
    RegisterResources();
    QApplication::setWindowIcon(QIcon(":/icons/korvel.png"));
}

bool TranslateQtTexts() {
    // One catalogue for the program's life, installed while the interface is Russian.
    static QTranslator* qtTexts = nullptr;
    if (qtTexts == nullptr) qtTexts = new QTranslator(qApp);
    if (OscState.Russian == 0) {
        QCoreApplication::removeTranslator(qtTexts);
        return true;
    }
    if (!qtTexts->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(qtTexts);
}

}  // namespace korvel::ui
