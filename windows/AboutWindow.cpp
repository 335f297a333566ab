#include "windows/AboutWindow.h"

#include "framework/application.h"
#include "framework/ui.h"
#include "windows/ClosableWindows.h"
#include "windows/EditionPictures.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace {

constexpr int kWidth = 400;
// Fixed like the width; the layout ends 236 pixels from the top.
constexpr int kHeight = 250;
const char* const kRightsNotice =
    "\u00a9 2026 The Quorvane developers. Word data from OpenThesaurus, WordNet 3.0 and the "
    "Debian word lists; spelling by Hunspell.";

}  // namespace

AboutWindow& AboutWindow::Get() {
    if (AboutWindow* const open = ClosableWindows<AboutWindow>::First()) {
        return *open;
    }
    AboutWindow& made = ClosableWindows<AboutWindow>::Make();
    made.Show();
    return made;
}

AboutWindow::AboutWindow()
    : fw::Window(Frame::Dialog, kWidth, kHeight),
      IconCanvas(*this, 136, 14, 128, 128),
      VersionInfo(*this, 50, 154, 300, 20, false, fw::StaticText::Alignment::Center, 14),
      CopyrightInfo(*this, 20, 186, 360, 37, true, fw::StaticText::Alignment::Center, 10),
      Separator1(*this, 20, 232, 360, 4) {
    SetTitle(TT::MM_About());
    IconCanvas.SetBackdrop(QVIconML128w());
    VersionInfo.SetText("Quorvane");
    CopyrightInfo.SetText(kRightsNotice);
    Open();
}

void AboutWindow::Open() {
    if (DIC::IsDE()) {
        IconCanvas.SetBackdrop(QVIconDE128w());
    } else if (DIC::IsEN()) {
        IconCanvas.SetBackdrop(QVIconEN128w());
    }
    const fw::UIServices::Area screen = fw::UI().ScreenBounds();
    SetLeft(static_cast<int>(screen.left + (screen.width - Width()) / 2.0));
    SetTop(static_cast<int>(screen.top + (screen.height - Height()) / 2.0));
    VersionInfo.SetText(fw::LongVersion());
}
