// Small controls of the framework's windows: the busy wheel and the picture canvas. Main OS
// thread only.
#pragma once

#include <memory>
#include <string>

class QWidget;

namespace fw {

class Window;

// A spinning busy indicator; hidden when created.
class ProgressWheel {
  public:
    ProgressWheel(Window& window, int left, int top, int width, int height);
    ~ProgressWheel();
    ProgressWheel(const ProgressWheel&) = delete;
    ProgressWheel& operator=(const ProgressWheel&) = delete;

    bool Visible() const;
    void SetVisible(bool visible);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A canvas that draws a backdrop picture; never takes the focus.
class Canvas {
  public:
    Canvas(Window& window, int left, int top, int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The picture `name` from the resource folder (name + ".png"); a missing file leaves the
    // canvas empty. Backdrop() names the picture last set.
    void SetBackdrop(const std::string& name);
    const std::string& Backdrop() const;
    QWidget* Widget() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
