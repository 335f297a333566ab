// The framework's timer on a QTimer: mode 0 off, 1 one-shot, 2 repeating. Main OS thread only.
// Setting mode 1 or 2 (re)starts the countdown, also inside the timer's own action. A one-shot
// timer is off (mode 0) when its action starts. The action runs on whatever stack is processing
// events: the main event loop or a fiber inside DoEvents. The timer may be destroyed or given a
// new action inside its own action.
#pragma once

#include <functional>
#include <memory>

namespace fw {

class Timer {
  public:
    enum Mode { ModeOff = 0, ModeSingle = 1, ModeMultiple = 2 };

    explicit Timer(std::function<void()> action = {}, int periodMs = 1000);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetAction(std::function<void()> action);
    void SetPeriod(int milliseconds);  // takes effect at the next start; negative counts as 0
    int Period() const;
    void SetMode(int mode);  // a value other than 1 or 2 switches the timer off
    int GetMode() const;
    // Reset: a running countdown starts again from now.
    void Reset();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
