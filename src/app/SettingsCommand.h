// The main window's Settings command around the Settings dialog.
#pragma once

#include <functional>

namespace korvel {

// Does nothing while a periodic capture runs (OscRunning or SpectrumRunning).
// Otherwise notes the settings the dialog changes at once (base clock,
// dividers, pre-history, record length) and runs the dialog: runDialog shows
// it modally and returns true when it ended with OK (its fields then taken).
// OK: new fonts, the device configured, the record processed and redrawn
// with a new vertical range. Cancel: the noted settings come back (the
// frequency index chosen with the dialog's buttons stays). Either way the
// main window's frequency list is rebuilt.
//
// The record keeps its time step when the clock, the dividers and the
// frequency index end as they were: a record read from a file keeps the
// file's own step, which the clock does not give.
void SettingsCommand(const std::function<bool()>& runDialog);

}  // namespace korvel
