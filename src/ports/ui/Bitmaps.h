// The program's bitmaps and its own pointer, loaded from the resources.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

#include "ports/Ports.h"

namespace korvel::ui {

// A bitmap by its name ("B1Bitmap", "open", "118"); the case of the name does
// not matter. A null pixmap for a name the program does not have.
QPixmap Bitmap(const char* name);

// A push button showing a bitmap at its own size, reached by Tab.
QPushButton* BitmapButton(const char* bitmap, QWidget* parent);

// The face of a button that changes its face while a run goes on.
QIcon FaceIcon(Face face);

// The closed hand that drags the plot, hot spot at (16, 14).
QCursor ClosedHandCursor();

}  // namespace korvel::ui
