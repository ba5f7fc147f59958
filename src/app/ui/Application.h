// What the program does to the Qt application object before any window exists.
#pragma once

namespace korvel::ui {

// Puts the C library's number formats back to the C locale (QApplication takes
// them from the environment, and a Russian locale would make "%g" write a
// decimal comma), and sets the program's icon.
void PrepareApplication();

// Qt's own texts (the file dialogs, the standard buttons, the input dialogs)
// in the interface's language, as OscState.Russian chose it: Qt's Russian
// catalogue installed for a Russian interface, taken away for an English one.
// False when a Russian interface finds no catalogue (Debian's
// qt6-translations-l10n not installed): those texts then stay English.
bool TranslateQtTexts();

}  // namespace korvel::ui
