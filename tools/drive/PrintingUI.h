// The driver's desktop services: the real ones, except that nothing waits for a user or leaves
// the process. A message box's text is printed as one line of JSON, {"msgbox": text}, on standard
// output and counts as dismissed at once; a URL is kept instead of opened; a context menu is kept
// and answered with the item the driver asked for. Main OS thread, as every UIServices.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/ui.h"

class PrintingUI : public fw::UIServices {
  public:
    // Forwards the rest to `real`, which it owns.
    explicit PrintingUI(std::unique_ptr<fw::UIServices> real);

    void MsgBox(const std::string& text) override;
    void Quit(int exitCode) override { real_->Quit(exitCode); }
    void Beep() override { real_->Beep(); }
    std::string ClipboardText() override { return real_->ClipboardText(); }
    void SetClipboardText(const std::string& text) override { real_->SetClipboardText(text); }
    bool AsyncShiftKey() override { return real_->AsyncShiftKey(); }
    int ScreenAvailableHeight() override { return real_->ScreenAvailableHeight(); }
    Area ScreenBounds() override { return real_->ScreenBounds(); }
    bool ShowURL(const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    void SetMouseCursor(Cursor cursor) override { real_->SetMouseCursor(cursor); }
    // Keeps the items with their enabled state in shownMenu and chooses the enabled item whose
    // text is menuChoice (ignoring case), or none.
    const fw::MenuItem* PopUpContextualMenu(const fw::MenuItem& menu, int x, int y) override;

    std::string menuChoice;
    std::vector<std::pair<std::string, bool>> shownMenu;
    std::vector<std::string> urls;  // every URL asked for, in order

  private:
    std::unique_ptr<fw::UIServices> real_;
};
