// The framework's top-level window on a QWidget. Main OS thread only (any fiber). Geometry is in
// pixels of the screen: Left and Top place the window's frame, Width and Height measure its
// content (below a menu bar drawn in the window). Height() reads the real height back, so an
// animation that sets it step by step sees what it set. A window is created hidden.
//
// Every window is in the application's window list (WindowCount, WindowAt) from its creation
// until it is closed or destroyed, ordered front to back: showing, raising or activating a window
// puts it in front.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace fw {

class MenuBar;

class Window {
  public:
    enum class Frame {
        Plain,     // no frame, title bar or window buttons
        Drawer,    // no frame; shown attached below its parent window and kept there
        Document,  // a resizeable desktop window with its buttons; draws its menu bar
        Dialog,    // a dialog frame with close and minimise buttons; fixed size; Escape closes it
    };

    // Created at a fixed width and, until SetHeightLimits widens them, a fixed height; a document
    // window is resizeable within SetSizeLimits.
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
    void SetSizeLimits(int minimumWidth, int minimumHeight, int maximumWidth, int maximumHeight);
    const std::string& Title() const;
    void SetTitle(const std::string& title);
    // The mark of unsaved changes (Qt's window-modified flag, shown beside the title).
    bool Modified() const;
    void SetModified(bool modified);

    bool Visible() const;
    // Shows the window in front; a window already shown comes to the front and is activated.
    void Show();
    void Hide();
    // Hides the window, takes it out of the window list and runs Closed; the user's close button
    // does the same unless CancelClose keeps the window. Nothing asks first. A window that another
    // program destroyed is hidden and then closed the same way (the next Show makes it anew).
    void Close();
    bool IsClosed() const;
    // Shows the window attached to `parent` without taking the focus from it: it opens at the
    // parent's lower edge (facing 1, the only edge in use), horizontally centred on the parent,
    // and follows the parent when it moves or changes its size; its own size changes keep it
    // there. The two share one keyboard: characters, Backspace and Delete typed while the window
    // has it go to the parent's focused control, as if typed there. `parent` may die first.
    void ShowWithin(Window& parent, int facing);
    // Brings the window to the front, restored if it was minimised, and activates it.
    void BringToFront();

    // The window's menu bar; `bar` must outlive the window. A document window draws it; any
    // other window draws none, but its keyboard shortcuts work while the window is active and
    // PopUpMenuBar shows it as a menu. A window without a bar of its own uses the application's
    // (Application::SetMenuBar) from its first Show on.
    void SetMenuBar(MenuBar& bar);
    // Shows the menu bar as a menu at x, y of the content and carries out the chosen item.
    void PopUpMenuBar(int x, int y);
    // Binds the menu item named `name` to `handler` while this window is active; a window's
    // handler goes before the application's.
    void AddMenuHandler(const std::string& name, std::function<bool()> handler);
    // Runs the handler of the item named `name`: the window's, else the application's. False when
    // there is none.
    bool RunMenuHandler(const std::string& name);
    bool HasMenuHandler(const std::string& name) const;

    // The top-level widget.
    QWidget* Widget() const;
    // The widget that holds the window's controls (below the menu bar of a document window).
    QWidget* ContentWidget() const;

    // Runs after SetHeight or SetHeightLimits changed the height, with the change in pixels: the
    // controls locked to the window's edges follow it here (a hidden window gets no Qt resize
    // event until it is shown, so this does not wait for one).
    std::function<void(int deltaHeight)> Resized;
    // Every change of the content's size on screen, the user's resizing included, while it goes.
    std::function<void()> SizeChanged;
    // The user's or the window manager's close (not Close): true keeps the window open, as it
    // was. After another program destroyed the window, true keeps it hidden.
    std::function<bool()> CancelClose;
    // After Close, or after the user closed the window. The window may be destroyed from here on,
    // but not inside this call.
    std::function<void()> Closed;

  private:
    // The application's menu bar for a window without a bar of its own, once it is shown.
    void UseApplicationMenuBar();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The application's open windows, front to back: index 0 is the front-most.
int WindowCount();
Window* WindowAt(int index);

}  // namespace fw
