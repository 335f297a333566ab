// Computes spelling guesses on an OS thread of its own, so that the event loop only collects them:
// Hunspell's suggestions take up to a few hundred milliseconds for a long misspelled compound.
// The work functions must touch only what no other thread uses meanwhile (the worker's own
// dictionaries, or dictionaries that lock themselves). One guess request at a time: a newer one
// replaces a request not yet started; the last result is kept until the next one replaces it.
// Every member function may be called from any thread; the OS thread starts on the first request
// and is joined by the destructor after the request it is working on.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform {

class GuessWorker {
  public:
    using Guesses = std::vector<std::string>;
    using ComputeFunction =
        std::function<Guesses(const std::string& word, const std::string& language)>;
    using LoadFunction = std::function<void(const std::string& language)>;

    GuessWorker(ComputeFunction compute, LoadFunction load);
    ~GuessWorker();
    GuessWorker(const GuessWorker&) = delete;
    GuessWorker& operator=(const GuessWorker&) = delete;

    // Loads the dictionaries of `language` on the worker, before any request that follows.
    void Load(const std::string& language);
    // Starts computing the guesses for `word` in `language`, unless they are there already.
    void Prepare(const std::string& word, const std::string& language);
    // True while guesses asked for by Prepare are not there yet.
    bool Pending(const std::string& word, const std::string& language) const;
    // The guesses for `word` in `language` once they are there (waiting for a pending request);
    // nothing when they were never asked for or a newer request replaced them.
    std::optional<Guesses> Take(const std::string& word, const std::string& language);

  private:
    struct Request {
        std::string word;
        std::string language;
        bool operator==(const Request&) const = default;
    };

    void StartLocked();
    void Run();

    ComputeFunction compute_;
    LoadFunction load_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // work arrived, or the worker must stop
    std::condition_variable done_;  // a request was finished
    std::vector<std::string> loads_;
    std::optional<Request> queued_;
    std::optional<Request> working_;
    std::optional<Request> finished_;
    Guesses result_;
    bool stop_ = false;
    std::thread thread_;  // last: it starts after every member it uses
};

}  // namespace platform
