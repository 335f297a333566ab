#include "tools/drive/SearchDriver.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

#include "framework/events.h"
#include "framework/text.h"
#include "framework/timer.h"
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

std::vector<std::pair<int32_t, int32_t>> Pairs(const std::vector<int32_t>& markers) {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (size_t i = 0; i + 1 < markers.size(); i += 2) {
        pairs.emplace_back(markers[i], markers[i + 1]);
    }
    return pairs;
}

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
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
}

void AppendRuns(std::string& out, const std::vector<std::pair<int32_t, int32_t>>& runs) {
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

int KeyCode(const std::string& character) {
    if (character.size() == 1 && std::isalpha(static_cast<unsigned char>(character[0]))) {
        return Qt::Key_A + (std::toupper(static_cast<unsigned char>(character[0])) - 'A');
    }
    return character == " " ? Qt::Key_Space : (character == "-" ? Qt::Key_Minus : Qt::Key_unknown);
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
}

}  // namespace

SearchDriver::SearchDriver() : probe_(std::make_unique<Probe>()) {
    SearchWin& window = SearchWin::Get();
    BindActions(window, [this](std::function<void()> action) { return probe_->Measured(action); });
    window.SearchTimer.SetAction(probe_->Measured([this, &window] {
        if (probe_->firedAt < 0) {
            probe_->firedAt = NowMs();
            probe_->threadsCpuAtFire = fw::ThreadsCpuMilliseconds();
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
        if (NowMs() > deadline) {
            return false;
        }
        ServeEvents();
    }
    return true;
}

std::optional<SearchDriver::Result> SearchDriver::Search(const std::string& word, int timeoutMs) {
    fw::EditField& field = SearchWin::Get().UserInput;
    field.SetSelStart(0);
    field.SetSelLength(fw::Len(field.Text()));
    probe_->firedAt = -1;
    for (int64_t i = 1; i <= fw::Len(word); ++i) {
        TypeKey(fw::Mid(word, i, 1));
    }
    probe_->timer.SetMode(fw::Timer::ModeMultiple);
    const bool settled = WaitUntilSettled(timeoutMs);
    probe_->timer.SetMode(fw::Timer::ModeOff);
    if (!settled) {
        return std::nullopt;
    }
    Result result;
    result.word = word;
    result.hit = PMC::gDirectHit;
    result.report = ResultWin::Get().ResultField.Text();
    result.bold = Pairs(PMC::gBoldMarkers);
    result.italic = Pairs(PMC::gItalicMarkers);
    if (probe_->firedAt >= 0) {
        result.ms = NowMs() - probe_->firedAt;
        result.cpuMs = probe_->ProgramCpuSinceFire();
    }
    result.maxStallMs = probe_->maxStall;
    return result;
}

std::string SearchDriver::ToJson(const Result& result, bool stats) {
    std::string out = "{\"word\": ";
    AppendJsonString(out, result.word);
    out += std::string(", \"hit\": ") + (result.hit ? "true" : "false") + ", \"report\": ";
    AppendJsonString(out, result.report);
    out += ", \"bold\": ";
    AppendRuns(out, result.bold);
    out += ", \"italic\": ";
    AppendRuns(out, result.italic);
    out += ", \"ms\": " + Milliseconds(result.ms);
    if (stats) {
        out += ", \"cpu_ms\": " + Milliseconds(result.cpuMs) +
               ", \"max_stall_ms\": " + Milliseconds(result.maxStallMs);
    }
    out += '}';
    return out;
}
