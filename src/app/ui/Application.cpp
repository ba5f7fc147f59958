#include "app/ui/Application.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

namespace korvel::ui {

void PrepareApplication() {
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setWindowIcon(QIcon(":/icons/korvel.png"));
}

}  // namespace korvel::ui
