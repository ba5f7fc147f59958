#include "app/StartUp.h"

#include "acquisition/CaptureEngine.h"
#include "acquisition/SimulatedSource.h"
#include "display/Plot.h"
#include "files/ConfigFile.h"
#include "model/Language.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

// Why korvel.ini was refused at start-up, until the window has said so.
FileStatus ConfigRefused;

}  // namespace

FileStatus StartUp() {
    ChooseLanguage();
    ConnectCaptureToPlot();
    ConfigRefused = LoadConfig();
    return ConfigRefused;
}

void SetUpDevice() {
    if (!ConfigRefused.ok()) {
        const std::string message = ConfigLoadMessage(ConfigRefused, OscState.Russian);
        ConfigRefused = {};
        Ports.dialogs->Message(message.c_str(), nullptr);
    }
    if (DeviceSetup()) {
        Ports.dialogs->Notice(Text(TextId::NoticeProduct), Text(TextId::NoticeSimulation));
    }
}

void ConnectCaptureToPlot() {
    SetRecordReadyHandler(RefreshPlot);
}

}  // namespace korvel
