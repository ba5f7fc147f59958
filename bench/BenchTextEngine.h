// The text engine the plot benchmarks draw with: the program's own Qt engine
// on the offscreen platform where the ui is built, else the fixed-cell one.
#pragma once

#include "canvas/TextEngine.h"

namespace korvel::bench {

// Made on first use, with the QGuiApplication it needs; lives until exit.
TextEngine& BenchTextEngine();

}  // namespace korvel::bench
