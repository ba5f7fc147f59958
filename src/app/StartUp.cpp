#include "app/StartUp.h"

#include "acquisition/CaptureEngine.h"
#include "acquisition/SimulatedSource.h"
#include "display/Plot.h"
#include "files/ConfigFile.h"
#include "model/Language.h"
#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

void StartUp() {
    ChooseLanguage();
    ConnectCaptureToPlot();
    LoadConfig();
}

void SetUpDevice() {
    if (DeviceSetup()) {
        Ports.dialogs->Notice(Text(TextId::NoticeProduct), Text(TextId::NoticeSimulation));
    }
}

void ConnectCaptureToPlot() {
    SetRecordReadyHandler(RefreshPlot);
}

}  // namespace korvel
