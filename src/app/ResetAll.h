// Puts every process-wide record back to its state at program start. Tests
// begin with it; each subsystem adds the reset of its own records here.
#pragma once

namespace korvel {

// Settings, state, ports and every subsystem record as at start; language English.
void ResetAllRecords();

}  // namespace korvel
