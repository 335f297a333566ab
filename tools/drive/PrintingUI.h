// The driver's desktop services: the real ones, except that a message box never waits for a user.
// Its text is printed as one line of JSON, {"msgbox": text}, on standard output and it counts as
// dismissed at once. Main OS thread, as every UIServices.
#pragma once

#include <memory>
#include <string>

#include "framework/ui.h"

class PrintingUI : public fw::UIServices {
  public:
    // Forwards everything but the message box to `real`, which it owns.
    explicit PrintingUI(std::unique_ptr<fw::UIServices> real);

    void MsgBox(const std::string& text) override;
    void Quit(int exitCode) override { real_->Quit(exitCode); }
    void Beep() override { real_->Beep(); }
    std::string ClipboardText() override { return real_->ClipboardText(); }
    void SetClipboardText(const std::string& text) override { real_->SetClipboardText(text); }
    bool AsyncShiftKey() override { return real_->AsyncShiftKey(); }
    int ScreenWidth() override { return real_->ScreenWidth(); }
    int ScreenAvailableHeight() override { return real_->ScreenAvailableHeight(); }
    void ShowURL(const std::string& url) override { real_->ShowURL(url); }
    void SetMouseCursor(Cursor cursor) override { real_->SetMouseCursor(cursor); }

  private:
    std::unique_ptr<fw::UIServices> real_;
};
