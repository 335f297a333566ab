// The about box: the edition's icon, the long version text and the rights notice in a fixed-size
// dialog centred on the main screen. At most one is open: Get() returns it, or builds and shows a
// new one (centred again) after the last was closed. Main OS thread only.
#pragma once

#include "framework/controls.h"
#include "framework/window.h"

template <class W>
class ClosableWindows;

class AboutWindow : public fw::Window {
  public:
    static AboutWindow& Get();

    fw::Canvas IconCanvas;
    fw::StaticText VersionInfo;
    fw::StaticText CopyrightInfo;
    fw::Separator Separator1;

    // Chooses the icon by the edition, centres the window on screen 0 and shows the version.
    void Open();

  private:
    AboutWindow();
    friend class ClosableWindows<AboutWindow>;
};
