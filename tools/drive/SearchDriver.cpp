#include "tools/drive/SearchDriver.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

#include "framework/events.h"
#include "framework/text.h"
#include "framework/timer.h"
#include "search/App.h"
#include "search/PMC.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"

namespace {

// CPU time of the main OS thread outside the event pumps.
double CpuOutsidePumps() {
    return fw::ThreadCpuMilliseconds() - fw::PumpCpuMilliseconds();
}

// Serves events for a millisecond without counting as one of the program's pumps.
void ServeEvents() {
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
}

double NowMs() {
    return fw::Microseconds() / 1e3;
}

}  // namespace

std::string SearchDriver::JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

namespace {

void AppendRuns(std::string& out, const SearchDriver::Runs& runs) {
    out += '[';
    for (size_t i = 0; i < runs.size(); ++i) {
        out += (i ? ", [" : "[") + std::to_string(runs[i].first) + ", " +
               std::to_string(runs[i].second) + "]";
    }
    out += ']';
}

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", ms);
    return text;
}

// The key a keyboard gives for a character: Qt numbers a letter's key by its upper-case code point
// (Key_A, Key_Udiaeresis); "ß" has a key of its own (Key_ssharp), the blank and the hyphen too.
int KeyCode(const std::string& character) {
    const QString text = QString::fromStdString(character);
    if (text.isEmpty()) {
        return Qt::Key_unknown;
    }
    return static_cast<int>(text.at(0).toUpper().unicode());
}

}  // namespace

// A 1 ms repeating timer that also fires inside the program's event pumps: it measures how long
// the event loop went without serving it. The driver's wrappers of the search window's timer
// actions record when the search started and, with the cooperative threads' own account, how much
// CPU the program spent outside its event pumps (which serve painting, not the search).
struct SearchDriver::Probe {
    fw::Timer timer;
    double lastFire = 0;
    double maxStall = 0;
    double firedAt = -1;
    double actionsCpu = 0;
    double threadsCpuAtFire = 0;
    double processCpuAtFire = 0;

    Probe()
        : timer(
              [this] {
                  const double now = NowMs();
                  if (lastFire > 0) {
                      maxStall = std::max(maxStall, now - lastFire - 1.0);
                  }
                  lastFire = now;
              },
              1) {}

    std::function<void()> Measured(std::function<void()> action) {
        return [this, action = std::move(action)] {
            const double start = CpuOutsidePumps();
            action();
            actionsCpu += CpuOutsidePumps() - start;
        };
    }

    double ProgramCpuSinceFire() const {
        return actionsCpu + fw::ThreadsCpuMilliseconds() - threadsCpuAtFire;
    }
};

namespace {

// The actions the search window binds to its timers.
void BindActions(SearchWin& window,
                 const std::function<std::function<void()>(std::function<void()>)>& wrap) {
    window.SearchTimer.SetAction(wrap([&window] { window.SearchTimer_Action(); }));
    window.FinishedSoundexSearchTimer.SetAction(
        wrap([&window] { window.FinishedSoundexSearchTimer_Action(); }));
    window.RefreshLaterTimer.SetAction(wrap([&window] { window.RefreshLaterTimer_Action(); }));
    window.SocketTimeOut.SetAction(wrap([&window] { window.SocketTimeOut_Action(); }));
}

}  // namespace

SearchDriver::SearchDriver() : probe_(std::make_unique<Probe>()) {
    SearchWin& window = SearchWin::Get();
    BindActions(window, [this](std::function<void()> action) { return probe_->Measured(action); });
    window.SearchTimer.SetAction(probe_->Measured([this, &window] {
        if (probe_->firedAt < 0) {
            probe_->firedAt = NowMs();
            probe_->threadsCpuAtFire = fw::ThreadsCpuMilliseconds();
            probe_->processCpuAtFire = ProcessCpuMs();
            probe_->actionsCpu = 0;
            probe_->lastFire = 0;
            probe_->maxStall = 0;
        }
        window.SearchTimer_Action();
    }));
}

SearchDriver::~SearchDriver() {
    if (SearchWin::Exists()) {
        BindActions(SearchWin::Get(), [](std::function<void()> action) { return action; });
    }
}

void SearchDriver::TypeKey(const std::string& character) {
    QWidget* field = SearchWin::Get().UserInput.Widget();
    const QString text = QString::fromStdString(character);
    QKeyEvent press(QEvent::KeyPress, KeyCode(character), Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, KeyCode(character), Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QApplication::sendEvent(field, &release);
}

double SearchDriver::ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void SearchDriver::ContextClick(QWidget* target, QPoint at) {
    const QPointF global = target->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, global.toPoint());
    QApplication::sendEvent(target, &menu);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void SearchDriver::ContextClickField() {
    QWidget* const field = SearchWin::Get().UserInput.Widget();
    ContextClick(field, QPoint(5, field->height() / 2));
}

void SearchDriver::TypeWord(const std::string& word) {
    for (int64_t i = 1; i <= fw::Len(word); ++i) {
        TypeKey(fw::Mid(word, i, 1));
    }
}

SearchDriver::Runs SearchDriver::RunsOf(const std::vector<int32_t>& markers) {
    Runs runs;
    for (size_t i = 0; i + 1 < markers.size(); i += 2) {
        runs.emplace_back(markers[i], markers[i + 1]);
    }
    return runs;
}

bool SearchDriver::IsSettled() {
    const SearchWin& window = SearchWin::Get();
    return window.SearchTimer.GetMode() == fw::Timer::ModeOff &&
           window.FinishedSoundexSearchTimer.GetMode() == fw::Timer::ModeOff &&
           window.RefreshLaterTimer.GetMode() == fw::Timer::ModeOff && !PMC::IsAnySearchRunning() &&
           !PMC::gRefreshReportRunning &&
           window.SynonymSearchThread.GetState() != fw::Thread::State::Running &&
           window.FragmentSearchThread.GetState() != fw::Thread::State::Running &&
           window.SoundexSearchThread.GetState() != fw::Thread::State::Running;
}

bool SearchDriver::WaitUntilSettled(int timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    while (!IsSettled()) {
        // Once the application is quitting its event loop has ended: no event is served any more,
        // so nothing can settle, and each wait would only pile up another timer.
        if (NowMs() > deadline || App::IsQuitting()) {
            return false;
        }
        ServeEvents();
    }
    return true;
}

std::optional<SearchDriver::Result> SearchDriver::Search(const std::string& word, int timeoutMs) {
    return Enter(word, TypeWord, timeoutMs);
}

std::optional<SearchDriver::Result> SearchDriver::Paste(const std::string& text, int timeoutMs) {
    return Enter(
        text, [](const std::string& whole) { SearchWin::Get().UserInput.SetText(whole); },
        timeoutMs);
}

std::optional<SearchDriver::Result> SearchDriver::Enter(const std::string& word,
                                                        void (*enter)(const std::string&),
                                                        int timeoutMs) {
    fw::EditField& field = SearchWin::Get().UserInput;
    field.SetSelStart(0);
    field.SetSelLength(fw::Len(field.Text()));
    probe_->firedAt = -1;
    enter(word);
    probe_->timer.SetMode(fw::Timer::ModeMultiple);
    const bool settled = WaitUntilSettled(timeoutMs);
    probe_->timer.SetMode(fw::Timer::ModeOff);
    if (!settled) {
        return std::nullopt;
    }
    Result result;
    result.word = word;
    result.hit = PMC::gDirectHit;
    // A hidden result window shows no report: its field still holds an earlier word's.
    if (ResultWin::Exists() && ResultWin::Get().Visible()) {
        result.report = ResultWin::Get().ResultField.Text();
        result.bold = RunsOf(PMC::gBoldMarkers);
        result.italic = RunsOf(PMC::gItalicMarkers);
    }
    if (probe_->firedAt >= 0) {
        result.ms = NowMs() - probe_->firedAt;
        result.cpuMs = probe_->ProgramCpuSinceFire();
        result.processCpuMs = ProcessCpuMs() - probe_->processCpuAtFire;
    }
    result.maxStallMs = probe_->maxStall;
    return result;
}

std::string SearchDriver::ToJson(const Result& result, bool stats) {
    std::string out = "{\"word\": ";
    out += JsonString(result.word);
    out += std::string(", \"hit\": ") + (result.hit ? "true" : "false") + ", \"report\": ";
    out += JsonString(result.report);
    out += ", \"bold\": ";
    AppendRuns(out, result.bold);
    out += ", \"italic\": ";
    AppendRuns(out, result.italic);
    out += ", \"ms\": " + Milliseconds(result.ms);
    if (stats) {
        out += ", \"cpu_ms\": " + Milliseconds(result.cpuMs) +
               ", \"max_stall_ms\": " + Milliseconds(result.maxStallMs) +
               ", \"process_cpu_ms\": " + Milliseconds(result.processCpuMs);
    }
    out += '}';
    return out;
}
