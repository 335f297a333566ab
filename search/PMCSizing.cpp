// The result window's height follows the report: a target from the report's line count and style
// runs, reached in visible steps, then the window is shown below the search window without
// disturbing the user's typing.
#include "search/PMCSizing.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "framework/editfield.h"
#include "framework/events.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/ui.h"
#include "search/PMC.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"

namespace PMC {
namespace {

constexpr int kLayoutFieldHeight = 5000;  // taller than any report, so nothing is laid out clipped
constexpr int kStepPumpMs = 8;
constexpr int kFacingBelowParent = 1;

// HideResultWin calls so far, and their number when the running build started.
int64_t gHideCount = 0;
int64_t gHideCountAtBuildStart = 0;
// AbortCount() when a build last showed the window.
std::optional<uint64_t> gAbortsAtLastShow;

int64_t RoomBelowSearchWin() {
    const SearchWin& search = SearchWin::Get();
    const int64_t topOnScreen = int64_t{search.Top()} - fw::UI().ScreenBounds().top;
    return int64_t{fw::UI().ScreenAvailableHeight()} - topOnScreen - search.Height();
}

// At least the window's minimum, else at most the room below the search window. A screen with
// less room than the minimum keeps the minimum: the window then reaches past the screen's lower
// edge, which is better than an animation chasing a height the window refuses.
int32_t BoundTargetHeight(int64_t height) {
    const int64_t fitting = std::min(height, RoomBelowSearchWin());
    return static_cast<int32_t>(std::max<int64_t>(ResultWin::kMinimumHeight, fitting));
}

// One step from `height` towards `target`; the last step lands exactly on the target. A step
// below one pixel lands at once.
int NextHeight(int height, int target, int32_t step) {
    const int64_t distance = int64_t{height} - target;
    if (step < 1) {
        return target;
    }
    if (distance < -step) {
        return height + step;
    }
    if (distance > step) {
        return height - step;
    }
    return target;
}

void AnimateHeight(ResultWin& win, int target) {
    for (int height = win.Height(); height != target;) {
        win.SetHeight(NextHeight(height, target, gWindowStep));
        // After a quit no step is drawn any more: the window stays where it is.
        if (!fw::DoEvents(kStepPumpMs)) {
            return;
        }
        fw::Yield();
        const int reached = win.Height();
        if (reached == height) {
            return;  // the window's height limits hold it; no further step can get closer
        }
        height = reached;
    }
}

// While the animation steps the window, the field keeps the height the build gave it and is fitted
// once at the end: it reaches below the window all the while, so nothing of it shows differently,
// and a field that does not change size between steps is repainted from what it already drew.
class FieldLockReleased {
  public:
    explicit FieldLockReleased(fw::Window& window)
        : window_(window), lock_(std::exchange(window.Resized, nullptr)) {}
    ~FieldLockReleased() { window_.Resized = std::move(lock_); }
    FieldLockReleased(const FieldLockReleased&) = delete;
    FieldLockReleased& operator=(const FieldLockReleased&) = delete;

  private:
    fw::Window& window_;
    std::function<void(int)> lock_;
};

void FocusUserInput() {
    fw::EditField& input = SearchWin::Get().UserInput;
    if (!input.HasFocus()) {
        input.SetFocus();
    }
}

}  // namespace

void PrepareResultFieldForReport() {
    gHideCountAtBuildStart = gHideCount;
    ResultWin::Get().ResultField.SetHeight(kLayoutFieldHeight);
}

void FitAndShowResultWin() {
    ResultWin& win = ResultWin::Get();
    fw::EditField& field = win.ResultField;
    {
        const FieldLockReleased released(win);
        AnimateHeight(win, ResultWinTargetHeight());
    }
    field.SetHeight(win.Height());
    // A rejected word hides the window until the next accepted search: neither a build that was
    // under way then nor one deferred from before it may show the report again.
    if (gHideCount != gHideCountAtBuildStart || gSearchWord.empty()) {
        return;
    }
    gAbortsAtLastShow = AbortCount();
    ShowResultWin();
}

int32_t ResultWinTargetHeight() {
    const fw::EditField& field = ResultWin::Get().ResultField;
    const int64_t lastLine = field.LineNumAtCharPos(fw::Len(field.Text()));
    const int64_t lineHeight = int64_t{field.TextSize()} + 3;
    // Bold runs are drawn one pixel larger, italic runs one pixel smaller.
    const auto boldRuns = static_cast<int64_t>(gBoldMarkers.size() / 2);
    const auto italicRuns = static_cast<int64_t>(gItalicMarkers.size() / 2);
    return BoundTargetHeight((lastLine + 3) * lineHeight + boldRuns - italicRuns);
}

void ShowResultWin() {
    ResultWin& result = ResultWin::Get();
    if (!result.Visible()) {
        SearchWin& search = SearchWin::Get();
        const int64_t selStart = search.UserInput.SelStart();
        const int64_t selLength = search.UserInput.SelLength();
        result.ShowWithin(search, kFacingBelowParent);
        search.UserInput.SetSelStart(selStart);
        search.UserInput.SetSelLength(selLength);
    }
    FocusUserInput();
}

void ShowResultWinAgain() {
    if (gAbortsAtLastShow == AbortCount()) {
        ShowResultWin();
    }
}

void HideResultWin() {
    ++gHideCount;
    ResultWin& result = ResultWin::Get();
    if (result.Visible()) {
        result.Hide();
    }
    FocusUserInput();
}

}  // namespace PMC
