#include "app/ui/Application.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

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

}  // namespace korvel::ui
