// The report builder: rebuilds the whole styled report of the result window from the search
// state, one build at a time. A build yields after every list entry and style run and pumps
// events while the window animates, so other fibers and timer actions may change the controller's
// lists meanwhile: every loop re-reads the list's size and indexes it, never holding an iterator
// across a yield.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/editfield.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "search/PMCSizing.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace PMC {
namespace {

constexpr size_t kListLimit = 40;
constexpr int64_t kSenseLimit = 3;
constexpr std::string_view kOverflowEnd = "...)";

// Holds gRefreshReportRunning for one build and releases it however the build ends: a kill of the
// pass thread that runs the build unwinds through here, and a flag left set would turn every
// later build into a deferral for good.
class BuildGuard {
  public:
    BuildGuard() { gRefreshReportRunning = true; }
    ~BuildGuard() { gRefreshReportRunning = false; }
    BuildGuard(const BuildGuard&) = delete;
    BuildGuard& operator=(const BuildGuard&) = delete;
};

// Report text under construction with its length in characters, which the style runs record as
// offsets; `base` is the length of the report text before this piece.
class ReportText {
  public:
    explicit ReportText(int64_t base = 0) : length_(base) {}

    void Append(std::string_view piece) {
        text_ += piece;
        length_ += fw::Len(piece);
    }
    void AppendBold(std::string_view piece) { AppendRun(gBoldMarkers, piece); }
    void AppendItalic(std::string_view piece) { AppendRun(gItalicMarkers, piece); }
    void AppendTwoLineEnds() {
        Append(fw::EndOfLine());
        Append(fw::EndOfLine());
    }

    int64_t Length() const { return length_; }
    const std::string& Text() const { return text_; }

  private:
    void AppendRun(std::vector<int32_t>& markers, std::string_view piece) {
        markers.push_back(static_cast<int32_t>(length_));
        Append(piece);
        markers.push_back(static_cast<int32_t>(length_));
    }

    std::string text_;
    int64_t length_;
};

// Entry i of a list that should run parallel to another one, or "" when the list is shorter.
std::string EntryOrEmpty(const WordList& list, size_t i) {
    return i < list.size() ? list[i] : std::string();
}

const std::string& PluralHeading(const std::string& typeName) {
    if (fw::EqualsIgnoreCase(typeName, TT::REP_Noun())) {
        return TT::REP_Nouns();
    }
    if (fw::EqualsIgnoreCase(typeName, TT::REP_Verb())) {
        return TT::REP_Verbs();
    }
    if (fw::EqualsIgnoreCase(typeName, TT::REP_Adjective())) {
        return TT::REP_Adjectives();
    }
    return typeName;
}

// The word-description rows are final: the base-form and lexical-database lookups have ended.
bool WordDescriptionReady() {
    return gDirectHit && !gULBaseformSearchRunning && !gWordNetSearchRunning &&
           !gWordBaseform.empty();
}

void AppendHeadline(ReportText& report) {
    if (gDirectHit) {
        report.AppendBold("\"" + gHitWord + "\"" + TT::REP_Found());
    } else {
        report.AppendBold(TT::REP_Unknown());
    }
}

void AppendEnglishSenses(ReportText& report) {
    for (const std::string* typeName : {&TT::REP_Noun(), &TT::REP_Verb(), &TT::REP_Adjective()}) {
        report.Append(ArrayToStringENContexts(*typeName, static_cast<int32_t>(report.Length())));
    }
}

void AppendGermanBaseforms(ReportText& report) {
    for (size_t i = 0; i < gWordBaseform.size(); ++i) {
        report.AppendTwoLineEnds();
        report.Append(TT::REP_Baseform());
        report.Append(gWordBaseform[i]);
        report.Append(fw::EndOfLine());
        report.Append(TT::REP_PartOfSpeech());
        report.Append(EntryOrEmpty(gWordType, i));
        fw::Yield();
    }
}

void AppendGermanSubjects(ReportText& report) {
    if (!gDirectHit || !DIC::IsDE() || gULSachgebieteSearchRunning || gWordSachgebiete.empty()) {
        return;
    }
    report.AppendTwoLineEnds();
    report.Append(TT::REP_Subjects());
    report.Append(ArrayToString(gWordSachgebiete));
}

void AppendListSection(ReportText& report, const std::string& heading, const WordList& list) {
    if (list.empty()) {
        return;
    }
    report.AppendTwoLineEnds();
    report.AppendBold(heading);
    report.AppendTwoLineEnds();
    report.Append(ArrayToString(list));
}

void AppendSynonyms(ReportText& report) {
    if (!gDirectHit || gSynonymSearchRunning) {
        return;
    }
    // The English senses already name some of the synonyms; both lists are final by now.
    if (DIC::IsEN() && !gWordNetSearchRunning && !gForbiddenSynonyms.empty() &&
        !gSynonymWords.empty()) {
        CleanSynonyms();
    }
    AppendListSection(report, TT::REP_Synonyms(), gSynonymWords);
}

void AppendFragmentSection(ReportText& report, const std::string& heading, const WordList& list) {
    if (!gFragmentSearchRunning) {
        AppendListSection(report, heading, list);
    }
}

void AppendTail(ReportText& report) {
    if (!gHitWordSource.empty()) {
        report.AppendTwoLineEnds();
        report.Append(TT::REP_Source());
        report.Append(gHitWordSource);
    }
    if (IsAnySearchRunning()) {
        report.AppendTwoLineEnds();
        report.AppendBold(gDirectHit ? TT::REP_MoreAnalysis() : TT::REP_MoreSuggestions());
    }
}

std::string AssembleReport() {
    ReportText report;
    report.Append(fw::EndOfLine());
    AppendHeadline(report);
    if (WordDescriptionReady() && DIC::IsEN()) {
        AppendEnglishSenses(report);
    }
    if (WordDescriptionReady() && DIC::IsDE()) {
        AppendGermanBaseforms(report);
    }
    AppendGermanSubjects(report);
    AppendSynonyms(report);
    AppendFragmentSection(report, TT::REP_Continuation(), gFragmentStart);
    if (!gSoundexSearchRunning) {
        AppendListSection(report, TT::REP_Similar(), gSoundexWords);
    }
    AppendFragmentSection(report, TT::REP_Ending(), gFragmentEnd);
    AppendFragmentSection(report, TT::REP_Fragment(), gFragmentAny);
    AppendTail(report);
    return report.Text();
}

using StyleRange = void (fw::EditField::*)(int64_t start, int64_t length);

// Styles each (start, end) run and sizes it `sizeDelta` pixels off the field's plain size.
void ApplyRuns(fw::EditField& field, const std::vector<int32_t>& markers, StyleRange style,
               int sizeDelta) {
    for (size_t i = 0; i + 1 < markers.size(); i += 2) {
        const int64_t start = markers[i];
        const int64_t length = int64_t{markers[i + 1]} - start;
        (field.*style)(start, length);
        field.SetSize(start, length, field.TextSize() + sizeDelta);
        fw::Yield();
    }
}

}  // namespace

void RefreshReport() {
    if (gRefreshReportRunning) {
        SearchWin::Get().RefreshLaterTimer.SetMode(fw::Timer::ModeSingle);
        return;
    }
    const BuildGuard guard;
    gItalicMarkers.clear();
    gBoldMarkers.clear();
    const std::string text = AssembleReport();
    gShowAll = false;

    fw::EditField& field = ResultWin::Get().ResultField;
    PrepareResultFieldForReport();
    field.SetText(text);
    {
        // The runs reach the layout together: run by run, each laid the rest of the text out again.
        const fw::EditField::Styling styling(field);
        ApplyRuns(field, gBoldMarkers, &fw::EditField::SetBold, 1);
        ApplyRuns(field, gItalicMarkers, &fw::EditField::SetItalic, -1);
    }
    FitAndShowResultWin();
}

std::string ArrayToString(const WordList& list) {
    const size_t count = list.size();
    const size_t shown = gShowAll ? count : std::min(count, kListLimit);
    std::string text;
    for (size_t i = 0; i < shown && i < list.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += list[i];
        fw::Yield();
    }
    if (shown < count) {
        text += ", (" + fw::Str(static_cast<int64_t>(count - shown)) + std::string(kOverflowEnd);
    }
    return text;
}

std::string ArrayToStringENContexts(const std::string& typeName, int32_t pos) {
    if (fw::IndexOf(gWordType, typeName) < 0) {
        return {};
    }
    ReportText block(pos);
    block.AppendTwoLineEnds();
    block.AppendBold(PluralHeading(typeName));
    int64_t count = 0;
    for (size_t i = 0; i < gWordBaseform.size(); ++i) {
        if (i < gWordType.size() && fw::EqualsIgnoreCase(gWordType[i], typeName)) {
            if (gShowAll || count < kSenseLimit) {
                block.AppendTwoLineEnds();
                block.Append(gWordBaseform[i]);
                const std::string context = EntryOrEmpty(gWordSachgebiete, i);
                if (!context.empty()) {
                    block.AppendItalic(fw::EndOfLine() + "[" + context + "]");
                }
            }
            ++count;
        }
        fw::Yield();
    }
    if (!gShowAll && count > kSenseLimit) {
        block.AppendTwoLineEnds();
        block.Append("(" + fw::Str(count - kSenseLimit) + std::string(kOverflowEnd));
    }
    return block.Text();
}

void HandleClickCommand(const std::string& command) {
    if (fw::Right(command, fw::Len(kOverflowEnd)) != kOverflowEnd) {
        return;
    }
    gShowAll = true;
    RefreshReport();
}

}  // namespace PMC
