// Helpers for tests of cooperative threads: a thread running a closure, and a pump that waits for
// a condition. Main OS thread only, like the threads themselves.
#pragma once

#include <chrono>
#include <functional>
#include <utility>

#include "framework/events.h"
#include "framework/threads.h"

// Runs a copy of its body, so that the body may replace itself while it runs. Kills itself before
// the body's captures can go.
class FnThread : public fw::Thread {
  public:
    explicit FnThread(std::function<void()> body = {}) : body_(std::move(body)) {}
    ~FnThread() override { Kill(); }
    void SetBody(std::function<void()> body) { body_ = std::move(body); }

  protected:
    void Execute() override {
        const std::function<void()> body = body_;
        body();
    }

  private:
    std::function<void()> body_;
};

// Pumps the event loop until `done` holds; false when it still does not after `timeoutMs`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        fw::DoEvents(1);
    }
    return true;
}

inline bool Finished(const fw::Thread& t) {
    return t.GetState() == fw::Thread::State::NotRunning;
}
