// The user-facing platform services behind one replaceable interface, so that a test never blocks
// on a dialog, opens a browser or depends on the real screen. The real services run on Qt and are
// called on the main OS thread (any fiber). The interface grows with the services the program
// needs; a replacement only implements what is declared here.
#pragma once

#include <memory>
#include <string>

namespace fw {

class MenuItem;

class UIServices {
  public:
    virtual ~UIServices() = default;
    // Modal message box with the text as plain text; returns when dismissed. Without a
    // QApplication the text goes to standard error.
    virtual void MsgBox(const std::string& text) = 0;
    // Ends the application's event loop with the exit code once control is back in it; returns
    // to the caller at once.
    virtual void Quit(int exitCode) = 0;
    virtual void Beep() = 0;

    // The clipboard's text ("" when it holds none) and its replacement.
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Whether Shift is held down at this moment.
    virtual bool AsyncShiftKey() = 0;
    // Screen 0, the main screen: the height available to windows, in pixels.
    virtual int ScreenAvailableHeight() = 0;
    // Screen 0's whole area in desktop coordinates: left, top, width and height. Its origin is
    // not (0, 0) when another screen lies left of or above it.
    struct Area {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
    };
    virtual Area ScreenBounds() = 0;
    // Opens the URL in the default browser; false when no browser could be started for it.
    virtual bool ShowURL(const std::string& url) = 0;
    // The application-wide mouse cursor.
    enum class Cursor { Default, PointingFinger };
    virtual void SetMouseCursor(Cursor cursor) = 0;
    // Shows the items of `menu` as a context menu at x, y of the screen and returns the chosen
    // item, or nullptr when the user chose none. Events run while the menu is open.
    virtual const MenuItem* PopUpContextualMenu(const MenuItem& menu, int x, int y) = 0;
};

// The services in use; the real Qt ones unless SetUI replaced them.
UIServices& UI();
// Replaces the services (nullptr restores the real Qt ones) and returns the previous ones. The
// reference from UI() dies with the replaced services.
std::unique_ptr<UIServices> SetUI(std::unique_ptr<UIServices> services);

void MsgBox(const std::string& text);
// Asks the application to quit: the application object (if any) hears of it at once and may
// cancel it (Application::QuitRequested); otherwise the event loop ends with the exit code once
// control is back in it.
void Quit(int exitCode);
void Beep();
std::string ClipboardText();
void SetClipboardText(const std::string& text);
bool AsyncShiftKey();

}  // namespace fw
