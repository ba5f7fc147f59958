#include "model/OscSettings.h"

namespace korvel {

OscSettingsRecord OscSettings;

void ResetOscSettings() {
    OscSettings = OscSettingsRecord{};
}

}  // namespace korvel
