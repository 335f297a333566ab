// User-facing services for benchmarks: fatal reports are kept instead of shown, so a broken word
// file skips a benchmark; nothing opens, beeps or depends on the real screen.
#pragma once

#include <memory>
#include <string>

#include "framework/ui.h"

class SilentUI : public fw::UIServices {
  public:
    void MsgBox(const std::string& text) override { lastMessage = text; }
    void Quit(int) override {}
    void Beep() override {}
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    bool AsyncShiftKey() override { return false; }
    int ScreenAvailableHeight() override { return 746; }
    Area ScreenBounds() override { return {0, 0, 1024, 768}; }
    bool ShowURL(const std::string&) override { return true; }
    void SetMouseCursor(Cursor) override {}
    const fw::MenuItem* PopUpContextualMenu(const fw::MenuItem&, int, int) override {
        return nullptr;
    }

    std::string lastMessage;
    std::string clipboard;
};

// Installs the silent services once per benchmark program.
inline SilentUI* InstallSilentUI() {
    static SilentUI* ui = [] {
        auto owned = std::make_unique<SilentUI>();
        SilentUI* raw = owned.get();
        fw::SetUI(std::move(owned));
        return raw;
    }();
    return ui;
}
