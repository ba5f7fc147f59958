#include "app/StartUp.h"

#include "app/Language.h"
#include "files/ConfigFile.h"

namespace korvel {

int32_t StartUp() {
    ChooseLanguage();
    return LoadConfig();
}

}  // namespace korvel
