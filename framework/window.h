// The framework's top-level window on a QWidget. Main OS thread only (any fiber). Geometry is in
// pixels of the screen; Height() reads the window's real height back, so an animation that sets
// it step by step sees what it set. A window is created hidden.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace fw {

class Window {
  public:
    enum class Frame {
        Plain,   // no frame, title bar or window buttons
        Drawer,  // no frame; shown attached below its parent window and kept there
    };

    // Created at a fixed width and, until SetHeightLimits widens them, a fixed height.
    Window(Frame frame, int width, int height);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    int Left() const;
    void SetLeft(int left);
    int Top() const;
    void SetTop(int top);
    int Width() const;
    int Height() const;
    // Clamped to the window's minimum and maximum height.
    void SetHeight(int height);
    void SetHeightLimits(int minimum, int maximum);
    void SetTitle(const std::string& title);

    bool Visible() const;
    void Show();
    void Hide();
    // Shows the window attached to `parent` without taking the focus from it: it opens at the
    // parent's lower edge (facing 1, the only edge in use), horizontally centred on the parent,
    // and follows the parent when it moves or changes its size. The two share one keyboard:
    // characters, Backspace and Delete typed while the window has it go to the parent's focused
    // control, as if typed there. `parent` may die first.
    void ShowWithin(Window& parent, int facing);
    // Brings the window to the front and activates it.
    void BringToFront();

    QWidget* Widget() const;

    // Runs after SetHeight or SetHeightLimits changed the height, with the change in pixels: the
    // controls locked to the window's edges follow it here (a hidden window gets no Qt resize
    // event until it is shown, so this does not wait for one).
    std::function<void(int deltaHeight)> Resized;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
