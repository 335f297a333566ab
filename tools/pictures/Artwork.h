// Quorvane's pictures, drawn as vector shapes so that every size is sharp: the edition icons and
// the search window's title strips. Each function draws the picture at `scale` device pixels per
// pixel. Needs a QGuiApplication (for the fonts); deterministic for one set of fonts.
#pragma once

#include <QImage>

enum class Edition { None, Deutsch, English };

// The 128-pixel icon: on white (which the program draws transparent) or on a transparent
// background for the desktop's icon theme.
QImage DrawIcon(Edition edition, double scale, bool whiteBackground);
// The 300 x 16 title strip.
QImage DrawTitleStrip(Edition edition, double scale);
