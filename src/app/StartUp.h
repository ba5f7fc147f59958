// The start-up of the program as far as it goes without a window.
#pragma once

#include <cstdint>

namespace korvel {

// Chooses the language from the locale and loads the configuration. A non-zero
// result means the settings could not be set up and the program must end.
int32_t StartUp();

}  // namespace korvel
