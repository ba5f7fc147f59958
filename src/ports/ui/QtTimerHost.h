// The TimerHost port on QTimers: each timer id calls its tick function from
// the event loop.
#pragma once

#include <QTimer>
#include <array>

#include "ports/Ports.h"

namespace korvel::ui {

class QtTimerHost : public TimerHost {
  public:
    using Tick = void (*)();

    QtTimerHost();

    // The function a timer calls; the main window sets those of the external
    // trigger, the oscillograph and the instrument's poll, the spectrum window
    // that of its run.
    void SetTick(TimerId id, Tick tick);

    void Start(TimerId id, int32_t periodMs) override;
    void Kill(TimerId id) override;

    bool IsRunning(TimerId id) const;
    int32_t PeriodMs(TimerId id) const;
    // Runs the timer's tick now, as its timeout would.
    void Fire(TimerId id);

  private:
    static size_t Slot(TimerId id);

    // One per TimerId, 1 to CaptureTick.
    static constexpr size_t Count = static_cast<size_t>(TimerId::CaptureTick);
    std::array<QTimer, Count> timers_;
    std::array<Tick, Count> ticks_{};
};

}  // namespace korvel::ui
