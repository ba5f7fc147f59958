#include "BenchTextEngine.h"

#include <cstdlib>

#include "canvas/FixedCellTextEngine.h"

#ifdef KORVEL_BENCH_WITH_QT
#include <QGuiApplication>

#include "canvas/ui/QtTextEngine.h"
#endif

namespace korvel::bench {

TextEngine& BenchTextEngine() {
#ifdef KORVEL_BENCH_WITH_QT
    static int argc = 1;
    static char name[] = "korvel_bench";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(argc, argv);
    static ui::QtTextEngine engine;
#else
    static FixedCellTextEngine engine;
#endif
    return engine;
}

}  // namespace korvel::bench
