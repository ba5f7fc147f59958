#include "app/StartUp.h"

#include "acquisition/CaptureEngine.h"
#include "acquisition/SimulatedSource.h"
#include "acquisition/Source.h"
#include "app/SourceCommands.h"
#include "display/Plot.h"
#include "files/ConfigFile.h"
#include "files/DeviceFile.h"
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
    SetStartSource(LoadDeviceChoice());
    return ConfigRefused;
}

void SetUpDevice() {
    if (!ConfigRefused.ok()) {
        const std::string message = ConfigLoadMessage(ConfigRefused, OscState.Russian);
        ConfigRefused = {};
        Ports.dialogs->Message(message.c_str(), nullptr);
    }
    // The instrument of the last run (or of --device), opened before the
    // first drawing; one that cannot be opened is told, and the card used.
    if (!StartSource().IsSimulated()) SelectSource(StartSource(), false);
    if (DeviceSetup()) {
        const std::string source =
            InstrumentInUse() ? SourceName() : Text(TextId::NoticeSimulation);
        Ports.dialogs->Notice(Text(TextId::NoticeProduct), source.c_str());
    }
}

void ConnectCaptureToPlot() {
    SetRecordReadyHandler(RefreshPlot);
}

}  // namespace korvel
