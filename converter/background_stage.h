#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tessavine::converter {

// The second stage of a two-stage pipeline: the caller hands over numbered items in rising order,
// a thread of its own works on them one at a time in that order, and each result is kept at its
// item's number, so the results are the same whatever the timing. With `threaded` false (or when
// no thread can be had) the work runs within submit(), with the same results and errors.
//
// The first item whose work throws stops the stage: no later item is worked on, submit() says
// to stop, and finish() rethrows that exception as it was thrown, type and words.
//
// Items cross in batches, so that waking the other thread (a system call) is paid once a batch
// rather than once an item.
template <typename Input, typename Output>
class BackgroundStage {
  public:
    using Work = std::function<Output(std::size_t index, Input& input)>;

    // `count`: one more than the largest item number; at most `batch` × `depth` items wait.
    BackgroundStage(std::size_t count, Work work, bool threaded, std::size_t batch = 128,
                    std::size_t depth = 4)
        : work_(std::move(work)),
          outputs_(count),
          batch_(std::max<std::size_t>(batch, 1)),
          depth_(std::max<std::size_t>(depth, 1)) {
        if (threaded) {
            try {
                thread_ = std::thread([this] { run(); });
            } catch (const std::system_error&) {
                // A machine out of threads still converts, on one.
            }
        }
    }

    BackgroundStage(const BackgroundStage&) = delete;
    BackgroundStage& operator=(const BackgroundStage&) = delete;

    // Without finish() (the caller failed) the items still waiting are dropped.
    ~BackgroundStage() {
        dropWaiting_ = true;
        stop();
    }

    // Hands item `index` over. False once an item's work has thrown: nothing handed over after it
    // would be worked on.
    bool submit(std::size_t index, Input input) {
        if (!thread_.joinable()) {
            if (!error_) {
                workOn(index, input);
            }
            return !error_;
        }
        filling_.emplace_back(index, std::move(input));
        return filling_.size() < batch_ || handOver();
    }

    // Waits for the work on every item handed over; rethrows the first error, else returns the
    // outputs by item number, nothing where no item was handed over.
    std::vector<std::optional<Output>> finish() {
        if (thread_.joinable() && !filling_.empty()) {
            handOver();
        }
        stop();
        if (error_) {
            std::rethrow_exception(error_);
        }
        return std::move(outputs_);
    }

  private:
    using Batch = std::vector<std::pair<std::size_t, Input>>;

    // Hands the batch being filled to the worker, waiting while `depth` batches wait.
    bool handOver() {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return waiting_.size() < depth_ || error_; });
        if (error_) {
            filling_.clear();
            return false;
        }
        waiting_.push_back(std::move(filling_));
        filling_ = Batch();
        filling_.reserve(batch_);
        lock.unlock();
        batchOrEnd_.notify_one();
        return true;
    }

    // The worker alone writes outputs_, each element once, and the caller reads them only after
    // the join; error_ changes under the lock until the join.
    void workOn(std::size_t index, Input& input) {
        try {
            outputs_[index] = work_(index, input);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            error_ = std::current_exception();
        }
    }

    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            batchOrEnd_.wait(lock, [&] { return !waiting_.empty() || ended_; });
            if (waiting_.empty()) {
                return;
            }
            Batch batch = std::move(waiting_.front());
            waiting_.pop_front();
            lock.unlock();
            room_.notify_one();
            // Only this thread sets error_ while it runs, so it reads it without the lock.
            for (auto& [index, input] : batch) {
                if (error_ || dropWaiting_.load()) {
                    break;
                }
                workOn(index, input);
            }
            if (error_) {
                room_.notify_one();  // the caller may wait for room that will never come
            }
            lock.lock();
        }
    }

    void stop() {
        if (!thread_.joinable()) {
            return;
        }
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        batchOrEnd_.notify_one();
        thread_.join();
    }

    Work work_;
    std::vector<std::optional<Output>> outputs_;
    std::size_t batch_;
    std::size_t depth_;
    Batch filling_;  // the caller's alone
    std::mutex mutex_;
    std::condition_variable batchOrEnd_;
    std::condition_variable room_;
    std::deque<Batch> waiting_;
    std::exception_ptr error_;
    bool ended_ = false;
    std::atomic<bool> dropWaiting_ = false;
    std::thread thread_;  // last: started once everything it uses is made
};

}  // namespace tessavine::converter
