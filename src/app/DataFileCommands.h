// The main window's Open, Save and Win-save commands: the file dialogs, the
// window title, reading or writing the data file, and what follows.
//
// After a successful Open the shown record keeps the time step and the first
// time of its file, with or without a companion settings file: its times are
// the file's (a file from another program included). The frequency index,
// the clock and the dividers the companion file brings are selected for the
// next capture as usual; choosing a frequency in the main window afterwards
// puts the record on that frequency's time scale.
#pragma once

namespace korvel {

// Open (F3): asks for a data file and shows its record, or tells the user it
// cannot be read. Does nothing while a periodic capture runs.
void OpenCommand();

// Save (F4): writes the whole record shown; Win-save (F2): the sub-window's
// samples. Text for the text filter and "All files", binary for the binary
// filter. Do nothing while a periodic capture runs.
void SaveCommand();
void WinSaveCommand();

}  // namespace korvel
