// Owns the one instance of a program window: created hidden on first reference, destroyed by a
// post routine of the application object while Qt still runs, since the window's widgets, timers
// and threads must not outlive the QApplication. Main OS thread only. The window class befriends
// WindowOwner<itself> for its private constructor.
#pragma once

#include <QCoreApplication>
#include <memory>

template <class W>
class WindowOwner {
  public:
    static W& Get() {
        std::unique_ptr<W>& instance = Instance();
        if (!instance) {
            instance.reset(new W());
            qAddPostRoutine(&Destroy);
        }
        return *instance;
    }

    static bool Exists() { return Instance() != nullptr; }

  private:
    static std::unique_ptr<W>& Instance() {
        static std::unique_ptr<W> instance;
        return instance;
    }
    static void Destroy() { Instance().reset(); }
};
