#include "windows/TextWinMenu.h"

#include "windows/MainMenu.h"
#include "worddata/TT.h"

TextWinMenu& TextWinMenu::Get() {
    if (!_implicitInstance) {
        _implicitInstance.reset(new TextWinMenu());
    }
    return *_implicitInstance;
}

TextWinMenu::TextWinMenu() {
    fw::MenuItem& file = MainMenu::AppendItem(*this, "FileMenu", TT::MM_FileMenu());
    MainMenu::AppendItem(file, "MI_Close", TT::MM_Close(), "Cmd+W");
    MainMenu::AppendEditAndAbout(*this);
}
