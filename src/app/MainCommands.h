// What the main window's menu, keys and control bars do. The ui's handlers
// only call these; every control is read and written through the bars' ports
// (Ports.topBar, Ports.bottomBar) by the ids of ControlIds.h.
#pragma once

#include <cstdint>

namespace korvel {

// 1 from the moment the main window is the program's main window (made and
// shown) until it is destroyed. Before that, a change of "Average over" only
// stores the number: there is nothing to process into yet.
void SetMainWindowActive(bool active);
bool MainWindowActive();
void ResetMainWindowState();

// Escape: stops a capture under way on ticks (the record shown stays), and
// takes back an armed zoom band, a pan or a drag of the marker.
void CancelCommand();

void StartStopCommand();      // Start/Stop button: start as the "External" box says
void ManualStartCommand();    // F5
void ExternalStartCommand();  // F6
void OscillografClicked();    // the "Oscillograf" box, already toggled by the click
void FrequencySelected();     // a new entry of the frequency list

// The Min and Width fields after the time step changed: the same samples in
// the new times.
void ShowSubWindowInNewTimes();
void AverageChanged();     // the text of "Average over" changed
void OscFreqChanged();     // the text of the oscillograph frequency field changed
void SetZeroCommand();     // "Set 0"
void FollowModeClicked();  // the "Follow Mode" box, already toggled by the click

// The up-down controls beside "Accumulator" and "Average over". proposedDelta
// is the change of position that the control proposes: -1 for its up arrow,
// +1 for its down arrow. Returns 0: the control may always move.
int32_t AccumulatorStep(int32_t proposedDelta);
int32_t AverageStep(int32_t proposedDelta);

// A field of a bar reports a new text (typed or written): the handler of that
// field, if it has one, runs.
void TopBarTextChanged(int32_t id);
void BottomBarTextChanged(int32_t id);

// The main window is going away: the configuration is written when the user
// asked for it (AutoConf). A failed write is not reported at this moment.
void SaveConfigOnExit();

}  // namespace korvel
