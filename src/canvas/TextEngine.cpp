#include "canvas/TextEngine.h"

namespace korvel {

namespace {
TextEngine* Engine = nullptr;
}  // namespace

TextEngine* InstalledTextEngine() {
    return Engine;
}

void InstallTextEngine(TextEngine* engine) {
    Engine = engine;
}

}  // namespace korvel
