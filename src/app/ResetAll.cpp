#include "app/ResetAll.h"

#include "acquisition/SimulatedSource.h"
#include "app/MainCommands.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
#include "app/Ports.h"
#include "display/PlotState.h"
#include "files/DataFileState.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

void ResetAllRecords() {
    ResetOscSettings();
    ResetOscState();
    OscState.Russian = 0;
    ResetPorts();
    ResetSimulatedSource();
    ResetPlotState();
    ResetDataFiles();
    ResetSpectrumData();
    ResetSpectrumView();
    ResetMainWindowState();
}

}  // namespace korvel
