#include "ports/ui/QtTimerHost.h"

#include <algorithm>

namespace korvel::ui {

QtTimerHost::QtTimerHost() {
    for (size_t slot = 0; slot < timers_.size(); ++slot) {
        timers_[slot].setTimerType(Qt::PreciseTimer);
        QObject::connect(&timers_[slot], &QTimer::timeout, [this, slot] {
            if (ticks_[slot] != nullptr) ticks_[slot]();
        });
    }
}

size_t QtTimerHost::Slot(TimerId id) {
    return std::clamp(static_cast<size_t>(id), size_t{1}, Count) - 1;
}

void QtTimerHost::SetTick(TimerId id, Tick tick) {
    ticks_[Slot(id)] = tick;
}

// A period below a millisecond would turn the timer into a busy loop that
// starves the window; a millisecond is the fastest a timer ticks.
void QtTimerHost::Start(TimerId id, int32_t periodMs) {
    timers_[Slot(id)].start(std::max(periodMs, 1));
}

void QtTimerHost::Kill(TimerId id) {
    timers_[Slot(id)].stop();
}

bool QtTimerHost::IsRunning(TimerId id) const {
    return timers_[Slot(id)].isActive();
}

int32_t QtTimerHost::PeriodMs(TimerId id) const {
    return timers_[Slot(id)].interval();
}

void QtTimerHost::Fire(TimerId id) {
    if (ticks_[Slot(id)] != nullptr) ticks_[Slot(id)]();
}

}  // namespace korvel::ui
