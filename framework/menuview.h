// The program's menus drawn with Qt, and the commands behind them. Internal to the framework;
// main OS thread only.
//
// A window's menu bar on Linux: the Mac showed the application menu (About, Quit) and the bar at
// the top of the screen. Here a document window draws the bar's menus in a QMenuBar, the items of
// the application menu in a Help menu, and the platform's Quit (Ctrl+Q) at the end of the first
// menu. A window without a drawn bar shows the same as one menu (PopUp): the bar's menus as
// submenus, then the application menu's items and Quit. Either way the items' shortcuts work while
// the window is active. Items named EditCut, EditCopy, EditPaste, EditClear and EditSelectAll are
// the standard editing commands of the window's focused text field; every other item runs the
// menu handler of its name (Window::RunMenuHandler). A drawn bar takes the window's focus while
// the user moves from one of its menus to the next and after Alt: the editing commands then stay
// with the control that had the focus before.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace fw {

class MenuBar;
class MenuItem;
class Window;

namespace detail {

// A context menu's items as actions of `target`, in order; "-" gives a separator. The text is
// shown as it is: an "&" is no mnemonic marker there. Returns each action with its item.
std::vector<std::pair<QAction*, const MenuItem*>> AddContextMenuItems(QMenu& target,
                                                                      const MenuItem& menu);

// Whether the standard editing command named `name` can act on `focus` now (false for another
// name or a widget that is no text field), and carrying it out.
bool IsEditCommand(const std::string& name);
bool CanRunEditCommand(const std::string& name, QWidget* focus);
void RunEditCommand(const std::string& name, QWidget* focus);

class MenuBarView : public QObject {
  public:
    // Draws `bar` for `window`: into `drawn` when given, else as the popup menu.
    MenuBarView(Window& window, const MenuBar& bar, QMenuBar* drawn);
    ~MenuBarView() override;

    void PopUp(QPoint global);

  private:
    QMenu* MakeMenu(const QString& title);
    QAction* MakeAction(const MenuItem& item);
    QAction* MakeQuitAction();
    // The enabled states of a menu's actions while it is open; outside it every action is
    // enabled, so that a shortcut reaches Run, which checks again.
    void UpdateEnabled(QMenu& menu);
    void EnableAll(QMenu& menu);
    bool Available(const MenuItem& item) const;
    void Run(const MenuItem& item);
    void RememberFocus(QWidget* focus);
    // The control the editing commands act on: the window's focus widget, or the one the menu
    // bar took the focus from; nullptr when the window has none.
    QWidget* EditTarget() const;

    Window& window_;
    QWidget* const topLevel_;
    QPointer<QWidget> lastFocus_;  // the window's latest focus widget that is no menu bar
    QMenu* popup_ = nullptr;       // owned by the top-level widget, like every menu here
    std::vector<std::pair<QAction*, const MenuItem*>> actions_;
};

}  // namespace detail

}  // namespace fw
