#include "windows/MainMenu.h"

#include <string>
#include <utility>

#include "worddata/TT.h"

MainMenu& MainMenu::Get() {
    if (!_implicitInstance) {
        _implicitInstance.reset(new MainMenu());
    }
    return *_implicitInstance;
}

MainMenu::MainMenu() {
    AppendEditAndAbout(*this);
}

fw::MenuItem& MainMenu::AppendItem(fw::MenuItem& menu, const char* name, const std::string& text,
                                   const char* shortcut, fw::MenuItem::Kind kind) {
    auto item = std::make_unique<fw::MenuItem>(text, kind);
    item->Name = name;
    item->AutoEnable = true;
    item->KeyboardShortcut = shortcut;
    return menu.Append(std::move(item));
}

void MainMenu::AppendEditAndAbout(fw::MenuBar& bar) {
    fw::MenuItem& edit = AppendItem(bar, "EditMenu", TT::MM_EditMenu());
    AppendItem(edit, "EditCut", TT::MM_Cut(), "Cmd+X");
    AppendItem(edit, "EditCopy", TT::MM_Copy(), "Cmd+C");
    AppendItem(edit, "EditPaste", TT::MM_Paste(), "Cmd+V");
    AppendItem(edit, "EditClear", TT::MM_Delete());
    AppendItem(edit, "UntitledMenu0", "-");
    AppendItem(edit, "EditSelectAll", TT::MM_SelectAll(), "Cmd+A");
    AppendItem(edit, "MI_About", TT::MM_About(), "", fw::MenuItem::Kind::ApplicationMenu);
    AppendItem(edit, "MI_AppleMenuSep", "-", "", fw::MenuItem::Kind::ApplicationMenu);
}
