// The sizing steps that close every report build: the report builder calls them around writing
// the report into the result field. They run on whichever fiber runs the build (the main event
// loop or a pass thread), on the main OS thread. The animation pumps events for 8 ms per step, so
// timer actions and socket events run inside FitAndShowResultWin.
#pragma once

namespace PMC {

// Before the report text goes into the field: makes the field tall enough that the whole text
// lays out, and starts watching for HideResultWin during this build.
void PrepareResultFieldForReport();

// After the text and its styles are in the field: grows or shrinks the result window towards
// ResultWinTargetHeight() in steps of gWindowStep pixels, fits the field to the window and shows
// the window. When HideResultWin ran since PrepareResultFieldForReport (a rejected word inside
// the animation's pump), or while no word is searched (gSearchWord empty), the window stays
// hidden: the report belongs to a word no longer searched.
void FitAndShowResultWin();

}  // namespace PMC
