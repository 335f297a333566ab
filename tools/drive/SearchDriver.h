// Drives the running program the way a user does: types a word into the search field key by key,
// lets the debounce fire and waits until the search has settled, then reads the report back.
// Used by the headless driver tool, the end-to-end tests and the benchmarks. Main OS thread, on
// the main context (never from a search thread); the program's windows must exist.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QPoint>

class QWidget;

class SearchDriver {
  public:
    // Style runs as (start, end) character offsets.
    using Runs = std::vector<std::pair<int32_t, int32_t>>;

    struct Result {
        std::string word;
        bool hit = false;
        std::string report;
        Runs bold;
        Runs italic;
        double ms = 0;            // from the search timer's firing to the settled report
        double cpuMs = 0;         // the program's CPU over the same span, its event pumps left out
        double maxStallMs = 0;    // the longest the event loop went without serving a 1 ms timer
        double processCpuMs = 0;  // the whole process's CPU over the same span, painting included
    };

    SearchDriver();
    ~SearchDriver();
    SearchDriver(const SearchDriver&) = delete;
    SearchDriver& operator=(const SearchDriver&) = delete;

    // Replaces the field's text by typing `word` key by key, then waits until the search timer has
    // fired and nothing is busy any more: no busy flag, no rebuild running or pending, no
    // hand-over pending. Nothing when it has not settled within `timeoutMs` or the application
    // is quitting.
    std::optional<Result> Search(const std::string& word, int timeoutMs = 60000);
    // The same with `text` put into the field whole, as a paste puts it.
    std::optional<Result> Paste(const std::string& text, int timeoutMs = 60000);

    // Types one key into the search field, through its key filter.
    static void TypeKey(const std::string& character);
    // Types `word` key by key.
    static void TypeWord(const std::string& word);
    // A right-button click at `at` of `target` as X11 delivers it: the press, the context-menu
    // event (which shows a field's menu), the release.
    static void ContextClick(QWidget* target, QPoint at);
    // The same on the search field.
    static void ContextClickField();
    // The controller's consecutive (start, end) markers as runs.
    static Runs RunsOf(const std::vector<int32_t>& markers);
    // Waits until the state has settled as Search does; false after `timeoutMs` or once the
    // application is quitting.
    static bool WaitUntilSettled(int timeoutMs);
    static bool IsSettled();

    // User and system CPU of the whole process so far, every OS thread and the painting included.
    static double ProcessCpuMs();

    // `text` as a JSON string, quotes included.
    static std::string JsonString(const std::string& text);
    // The line of JSON the driver tool prints for a result; `stats` adds cpu_ms, max_stall_ms and
    // process_cpu_ms.
    static std::string ToJson(const Result& result, bool stats);

  private:
    // Puts `word` into the field with `enter` and waits as Search does.
    std::optional<Result> Enter(const std::string& word, void (*enter)(const std::string&),
                                int timeoutMs);

    struct Probe;
    std::unique_ptr<Probe> probe_;
};
