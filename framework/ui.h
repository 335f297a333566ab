// The user-facing platform services behind one replaceable interface, so that a test never blocks
// on a dialog, opens a browser or depends on the real screen.
#pragma once

#include <memory>
#include <string>

namespace fw {

class UIServices {
public:
    virtual ~UIServices() = default;
    // Modal message box; returns when dismissed.
    virtual void MsgBox(const std::string& text) = 0;
    // Asks the application to quit with the exit code; returns to the caller at once.
    virtual void Quit(int exitCode) = 0;
    virtual void Beep() = 0;
};

UIServices& UI();
// Replaces the services (nullptr restores the real Qt ones) and returns the previous ones.
std::unique_ptr<UIServices> SetUI(std::unique_ptr<UIServices> services);

void MsgBox(const std::string& text);
void Quit(int exitCode);
void Beep();

}  // namespace fw
