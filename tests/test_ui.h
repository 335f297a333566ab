// User-facing services for tests: message boxes, quit requests, beeps, URLs and context menus
// are recorded, never shown; the clipboard is a text of its own; the Shift key, the
// screen and the item chosen from a context menu are whatever the test sets.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/menu.h"
#include "framework/ui.h"

class RecordingUI : public fw::UIServices {
  public:
    void MsgBox(const std::string& text) override {
        messages.push_back(text);
        if (onMessage) {
            onMessage();
        }
    }
    void Quit(int exitCode) override { quitCodes.push_back(exitCode); }
    void Beep() override { ++beeps; }
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    bool AsyncShiftKey() override { return shiftDown; }
    int ScreenAvailableHeight() override { return screenAvailableHeight; }
    bool ShowURL(const std::string& url) override {
        urls.push_back(url);
        return browserOpens;
    }
    Area ScreenBounds() override { return {screenLeft, screenTop, screenWidth, screenHeight}; }
    void SetMouseCursor(Cursor) override {}
    // Records the items with their enabled state and chooses the enabled one whose text is
    // menuChoice (ignoring case).
    const fw::MenuItem* PopUpContextualMenu(const fw::MenuItem& menu, int, int) override {
        shownMenu = fw::ItemStates(menu);
        return fw::EnabledItemWithText(menu, menuChoice);
    }

    std::vector<std::string> messages;
    std::function<void()> onMessage;  // runs while the box would be up
    std::vector<int> quitCodes;
    int beeps = 0;
    std::string clipboard;
    bool shiftDown = false;
    int screenLeft = 0;
    int screenTop = 0;
    int screenWidth = 1024;
    int screenAvailableHeight = 746;
    int screenHeight = 768;
    std::vector<std::string> urls;
    bool browserOpens = true;
    std::vector<std::pair<std::string, bool>> shownMenu;  // the last context menu shown
    std::string menuChoice;
};

// Installs a fresh RecordingUI for the scope of a test and restores the previous one after.
class ScopedRecordingUI {
  public:
    ScopedRecordingUI() {
        auto ui = std::make_unique<RecordingUI>();
        ui_ = ui.get();
        previous_ = fw::SetUI(std::move(ui));
    }
    ~ScopedRecordingUI() { fw::SetUI(std::move(previous_)); }
    RecordingUI* operator->() const { return ui_; }
    RecordingUI& get() const { return *ui_; }

  private:
    RecordingUI* ui_;
    std::unique_ptr<fw::UIServices> previous_;
};
