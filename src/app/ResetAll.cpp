#include "app/ResetAll.h"

#include "acquisition/SimulatedSource.h"
#include "acquisition/Source.h"
#include "app/MainCommands.h"
#include "app/StartUp.h"
#include "display/PlotState.h"
#include "files/DataFileState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/Ports.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

void ResetAllRecords() {
    ResetOscSettings();
    ResetOscState();
    OscState.Russian = 0;
    ResetPorts();
    ResetSimulatedSource();
    ResetSource();
    ResetPlotState();
    ResetDataFiles();
    ResetSpectrumData();
    ResetSpectrumView();
    ResetMainWindowState();
    ConnectCaptureToPlot();
}

}  // namespace korvel
