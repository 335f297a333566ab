#include "platform/guessworker.h"

#include <utility>

namespace platform {

GuessWorker::GuessWorker(ComputeFunction compute, LoadFunction load)
    : compute_(std::move(compute)), load_(std::move(load)) {}

GuessWorker::~GuessWorker() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void GuessWorker::StartLocked() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { Run(); });
    }
}

void GuessWorker::Load(const std::string& language) {
    {
        const std::lock_guard lock(mutex_);
        loads_.push_back(language);
        StartLocked();
    }
    wake_.notify_all();
}

void GuessWorker::Prepare(const std::string& word, const std::string& language) {
    const Request request{word, language};
    {
        const std::lock_guard lock(mutex_);
        if (finished_ == request || working_ == request) {
            return;
        }
        queued_ = request;
        StartLocked();
    }
    wake_.notify_all();
}

bool GuessWorker::Pending(const std::string& word, const std::string& language) const {
    const Request request{word, language};
    const std::lock_guard lock(mutex_);
    return queued_ == request || working_ == request;
}

std::optional<GuessWorker::Guesses> GuessWorker::Take(const std::string& word,
                                                      const std::string& language) {
    const Request request{word, language};
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return queued_ != request && working_ != request; });
    if (finished_ != request) {
        return std::nullopt;
    }
    return result_;
}

void GuessWorker::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !loads_.empty() || queued_; });
        if (stop_) {
            return;
        }
        if (!loads_.empty()) {
            const std::string language = std::move(loads_.front());
            loads_.erase(loads_.begin());
            lock.unlock();
            load_(language);
            lock.lock();
            continue;
        }
        const Request request = *std::exchange(queued_, std::nullopt);
        working_ = request;
        lock.unlock();
        Guesses guesses;
        try {
            guesses = compute_(request.word, request.language);
        } catch (const std::exception&) {
            guesses.clear();  // no guesses rather than a dead worker (out of memory in Hunspell)
        }
        lock.lock();
        finished_ = std::exchange(working_, std::nullopt);
        result_ = std::move(guesses);
        done_.notify_all();
    }
}

}  // namespace platform
