#pragma once

#include <atomic>
#include <functional>
#include <mutex>

namespace evaluation {

// The steps of a reading; a cancel is looked at before each. `thumbnail`:
// before each picture's thumbnail, on the decoding threads.
enum class Step { decode, rank, csv, pdf, page, rename, thumbnail };

// A cancel that a run looks at between its steps. The renaming of the
// outputs is one step: a cancel comes before it, or waits the moment it takes.
class Cancel {
  public:
    // Called before each step on the running thread: tests hold a step there.
    using Gate = std::function<void(Step)>;

    explicit Cancel(Gate gate = {}) : gate_(std::move(gate)) {}

    void cancel()
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    bool cancelled() const { return cancelled_; }
    // What a decode loop looks at between its pictures.
    const std::atomic<bool>& flag() const { return cancelled_; }

    // Whether the run goes on to `step`.
    bool proceed(Step step)
    {
        if (gate_)
            gate_(step);
        return !cancelled_;
    }
    // Runs `run` as the step unless cancelled; no cancel comes in between.
    void runUnlessCancelled(Step step, const std::function<void()>& run)
    {
        if (gate_)
            gate_(step);
        const std::lock_guard lock(mutex_);
        if (!cancelled_)
            run();
    }

  private:
    Gate gate_;
    std::mutex mutex_;
    std::atomic<bool> cancelled_{false};
};

} // namespace evaluation
