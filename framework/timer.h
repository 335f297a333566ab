// The framework's timer: mode 0 off, 1 one-shot, 2 repeating. Setting mode 1 or 2 (re)starts the
// countdown, also inside the timer's own action. The action runs on the main event loop.
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
    void SetPeriod(int milliseconds);  // takes effect at the next start
    int Period() const;
    void SetMode(int mode);
    int GetMode() const;
    // Reset: a running countdown starts again from now.
    void Reset();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
