// The edition pictures: three 128-pixel icons for the about box and three 300 x 16 title strips
// for the search window, for no edition, the German one and the English one. Each accessor reads
// its picture from the resource folder on first use and keeps it in its module global for the
// run; a picture that can't be read is nullptr and is read again at the next call. The icons draw
// their white pixels transparent. Main OS thread only.
#pragma once

#include <memory>

#include "framework/picture.h"

using PicturePtr = std::shared_ptr<fw::Picture>;

inline PicturePtr gQVIconML128w;
inline PicturePtr gQVIconDE128w;
inline PicturePtr gQVIconEN128w;
inline PicturePtr gWinTitle;
inline PicturePtr gWinTitleDE;
inline PicturePtr gWinTitleEN;

PicturePtr QVIconML128w();
PicturePtr QVIconDE128w();
PicturePtr QVIconEN128w();
PicturePtr WinTitle();
PicturePtr WinTitleDE();
PicturePtr WinTitleEN();
