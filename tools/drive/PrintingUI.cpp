#include "tools/drive/PrintingUI.h"

#include <iostream>
#include <utility>

#include "framework/menu.h"
#include "tools/drive/SearchDriver.h"

PrintingUI::PrintingUI(std::unique_ptr<fw::UIServices> real) : real_(std::move(real)) {}

void PrintingUI::MsgBox(const std::string& text) {
    std::cout << "{\"msgbox\": " << SearchDriver::JsonString(text) << "}" << std::endl;
}

const fw::MenuItem* PrintingUI::PopUpContextualMenu(const fw::MenuItem& menu, int /*x*/,
                                                    int /*y*/) {
    shownMenu = fw::ItemStates(menu);
    return fw::EnabledItemWithText(menu, menuChoice);
}
