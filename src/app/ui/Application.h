// What the program does to the Qt application object before any window exists.
#pragma once

namespace korvel::ui {

// Puts the C library's number formats back to the C locale (QApplication takes
// them from the environment, and a Russian locale would make "%g" write a
// decimal comma), and sets the program's icon.
void PrepareApplication();

}  // namespace korvel::ui
