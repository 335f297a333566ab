// Menus as the program builds them: a tree of menu items, the menu bars, and the context menus
// that a text field shows. The items are plain data; the windows draw them with Qt
// (framework/menuview.h) and route a chosen item to its handler by the item's name. Main OS
// thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fw {

class MenuItem {
  public:
    // An item shown in the application's own menu, whichever menu it was appended to (the Mac's
    // application menu; on Linux the About item goes to a Help menu, see menuview.h).
    enum class Kind { Normal, ApplicationMenu };

    MenuItem() = default;
    explicit MenuItem(std::string text, Kind kind = Kind::Normal);
    virtual ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::string Name;
    // The caption; "&" marks the mnemonic letter of menu-bar captions, "-" makes a separator.
    std::string Text;
    bool Enabled = true;
    // The window decides the enabled state each time the menu opens (menuview.h).
    bool AutoEnable = false;
    // "Cmd+X": the platform's command key (Ctrl on Linux) with X; "" for none.
    std::string KeyboardShortcut;

    Kind GetKind() const { return kind_; }
    bool IsSeparator() const { return Text == "-"; }

    // Appends `item` at the end of this item's submenu and returns it.
    MenuItem& Append(std::unique_ptr<MenuItem> item);
    int Count() const;
    MenuItem& Item(int index) const;
    // The first item of the submenu named `name`, or nullptr.
    MenuItem* Child(const std::string& name) const;

  private:
    Kind kind_ = Kind::Normal;
    std::vector<std::unique_ptr<MenuItem>> children_;
};

// The top of a menu tree: its items are the menus of the bar.
class MenuBar : public MenuItem {};

// The items of `menu`'s submenu as (text, enabled), in order: what a user sees of a context menu.
std::vector<std::pair<std::string, bool>> ItemStates(const MenuItem& menu);
// The first enabled item of `menu`'s submenu whose text is `text`, ignoring case; nullptr when
// there is none (a user can choose no other).
const MenuItem* EnabledItemWithText(const MenuItem& menu, const std::string& text);

}  // namespace fw
