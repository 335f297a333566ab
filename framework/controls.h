// Small controls of the framework's windows: the busy wheel, the picture canvas, the scroll bar,
// static texts and the separator line. Each is a child of its window's content at left, top,
// width x height. Main OS thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace fw {

class Picture;
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

// A canvas that draws a backdrop picture at its top left; never takes the focus.
class Canvas {
  public:
    Canvas(Window& window, int left, int top, int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // nullptr leaves the canvas empty. The canvas shares the picture.
    void SetBackdrop(std::shared_ptr<Picture> picture);
    const std::shared_ptr<Picture>& Backdrop() const;
    // A left-button press at x, y of the canvas; without a handler the canvas lets the mouse
    // through to the window.
    std::function<void(int x, int y)> MouseDown;
    QWidget* Widget() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A vertical scroll bar that takes no keyboard focus. The value stays within the range: a new
// range moves a value outside it to the nearest end, and ValueChanged runs.
class ScrollBar {
  public:
    ScrollBar(Window& window, int left, int top, int width, int height);
    ~ScrollBar();
    ScrollBar(const ScrollBar&) = delete;
    ScrollBar& operator=(const ScrollBar&) = delete;

    int Minimum() const;
    void SetMinimum(int minimum);
    int Maximum() const;
    void SetMaximum(int maximum);
    int Value() const;
    void SetValue(int value);
    int LineStep() const;
    void SetLineStep(int step);
    int PageStep() const;
    void SetPageStep(int step);
    // Every change of the value, also while the user drags the thumb.
    std::function<void()> ValueChanged;
    void SetGeometry(int left, int top, int width, int height);
    QWidget* Widget() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A text label, plain text in black.
class StaticText {
  public:
    enum class Alignment { Left, Center };
    StaticText(Window& window, int left, int top, int width, int height, bool multiline,
               Alignment alignment, int textSize);
    ~StaticText();
    StaticText(const StaticText&) = delete;
    StaticText& operator=(const StaticText&) = delete;

    std::string Text() const;
    void SetText(const std::string& text);
    QWidget* Widget() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A horizontal separator line.
class Separator {
  public:
    Separator(Window& window, int left, int top, int width, int height);
    ~Separator();
    Separator(const Separator&) = delete;
    Separator& operator=(const Separator&) = delete;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
