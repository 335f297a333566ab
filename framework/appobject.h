// The framework's application object: the program's life-cycle events on Qt's event loop. One
// instance per run, made after the QApplication and before Run(); main OS thread only.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace fw {

class MenuBar;

class Application {
  public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The running application object, or nullptr.
    static Application* Current();

    // Runs the event loop until a quit: delivers Open once the loop runs, Activate and
    // Deactivate whenever the application comes to the front or leaves it (the first time after
    // Open included), and Close once the loop has ended. Returns the exit code of the quit.
    int Run();

    // A quit has been asked for: delivers CancelClose, once per quit that was not cancelled;
    // true when it cancelled the quit. The framework's quit (fw::Quit) calls it at once, before
    // it ends the loop.
    bool QuitRequested();
    // A quit went through QuitRequested, or the event loop ended without one: no event will be
    // served any more. Wait loops end on it (fw::DoEvents reports it).
    bool Quitting() const { return quitRequested_; }

    // The application's menu bar, which serves every window without a bar of its own; `bar` must
    // outlive the application object.
    void SetMenuBar(MenuBar* bar) { menuBar_ = bar; }
    MenuBar* GetMenuBar() const { return menuBar_; }
    // Binds the menu item named `name` to `handler` in every window (after the window's own).
    void AddMenuHandler(const std::string& name, std::function<bool()> handler);
    // Runs the handler bound to `name`; false when there is none.
    bool RunMenuHandler(const std::string& name);
    bool HasMenuHandler(const std::string& name) const;

    // Another start of the program asked this one to come forward: delivers Activate as when the
    // application comes to the front (before Open has run, Open's own end brings it).
    void RequestActivation();

  protected:
    virtual void Open() {}
    virtual void Close() {}
    virtual void Activate() {}
    virtual void Deactivate() {}
    // True cancels the quit.
    virtual bool CancelClose() { return false; }

  private:
    MenuBar* menuBar_ = nullptr;
    std::map<std::string, std::function<bool()>> menuHandlers_;
    bool open_ = false;
    bool quitRequested_ = false;
};

}  // namespace fw
