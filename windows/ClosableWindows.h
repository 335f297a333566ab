// Owns the program windows that live until the user closes them: each Make() builds a new one,
// and a closed one is destroyed once control is back in the event loop (never inside the close
// itself, which runs in the window's own event or menu handler). What is still open at the end
// goes with a post routine of the application object, while Qt still runs. Main OS thread only.
// The window class befriends ClosableWindows<itself> for its private constructor.
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <memory>
#include <vector>

template <class W>
class ClosableWindows {
  public:
    static W& Make() {
        static const bool registered = (qAddPostRoutine(&DestroyAll), true);
        (void)registered;
        std::vector<std::unique_ptr<W>>& open = Open();
        open.push_back(std::unique_ptr<W>(new W()));
        W* const window = open.back().get();
        window->Closed = [window] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [window] { Destroy(window); }, Qt::QueuedConnection);
        };
        return *window;
    }

    // The oldest window not yet closed, or nullptr.
    static W* First() {
        for (const std::unique_ptr<W>& window : Open()) {
            if (!window->IsClosed()) {
                return window.get();
            }
        }
        return nullptr;
    }

  private:
    static std::vector<std::unique_ptr<W>>& Open() {
        static std::vector<std::unique_ptr<W>> windows;
        return windows;
    }

    static void Destroy(W* window) {
        std::vector<std::unique_ptr<W>>& open = Open();
        open.erase(std::remove_if(open.begin(), open.end(),
                                  [window](const auto& held) { return held.get() == window; }),
                   open.end());
    }

    static void DestroyAll() { Open().clear(); }
};
