// User-facing services for tests: message boxes and quit requests are recorded, never shown.
#pragma once

#include <string>
#include <vector>

#include "framework/ui.h"

class RecordingUI : public fw::UIServices {
  public:
    void MsgBox(const std::string& text) override { messages.push_back(text); }
    void Quit(int exitCode) override { quitCodes.push_back(exitCode); }
    void Beep() override { ++beeps; }

    std::vector<std::string> messages;
    std::vector<int> quitCodes;
    int beeps = 0;
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
