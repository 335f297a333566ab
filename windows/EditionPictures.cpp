#include "windows/EditionPictures.h"

#include <string>

namespace {

PicturePtr Cached(PicturePtr& global, const std::string& name, bool transparent) {
    if (global) {
        return global;
    }
    global = fw::Picture::Load(name);
    if (global && transparent) {
        global->SetTransparent(1);
    }
    return global;
}

}  // namespace

PicturePtr QVIconML128w() {
    return Cached(gQVIconML128w, "QVIconML128w", true);
}

PicturePtr QVIconDE128w() {
    return Cached(gQVIconDE128w, "QVIconDE128w", true);
}

PicturePtr QVIconEN128w() {
    return Cached(gQVIconEN128w, "QVIconEN128w", true);
}

PicturePtr WinTitle() {
    return Cached(gWinTitle, "WinTitle", false);
}

PicturePtr WinTitleDE() {
    return Cached(gWinTitleDE, "WinTitleDE", false);
}

PicturePtr WinTitleEN() {
    return Cached(gWinTitleEN, "WinTitleEN", false);
}
