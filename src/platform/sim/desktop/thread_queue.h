// Calls into a sim dialog from another thread, served by the thread that
// runs the dialog, as Windows serves a message sent to another thread's
// window: the sender waits while the owner runs the call whenever it waits
// in a modal loop. Internal to the sim library.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace corvane::sim {

// Whether a dialog still exists. Written and read under its thread queue's
// lock, so that a call is either queued before the dialog goes or refused.
struct DialogLife {
    bool alive = true;
};

class ThreadQueue {
public:
    // From another thread: queues `task` for the owning thread and waits
    // until it ran there. False, without running it, when the dialog is
    // gone. `ownQueue` (the caller's own, if it runs dialogs) is served
    // meanwhile, so two threads that call into each other's dialogs do not
    // block each other.
    bool Call(const std::shared_ptr<DialogLife>& life, std::function<void()> task,
              ThreadQueue* ownQueue) {
        auto request = std::make_shared<Request>();
        request->task = std::move(task);
        request->life = life;
        {
            const std::lock_guard lock(mutex_);
            if (!life->alive) {
                return false;
            }
            queue_.push_back(request);
        }
        arrived_.notify_all();
        std::unique_lock lock(request->mutex);
        while (!request->done) {
            if (ownQueue != nullptr) {
                lock.unlock();
                ownQueue->Serve(std::chrono::microseconds(0));
                lock.lock();
            }
            request->finished.wait_for(lock, std::chrono::milliseconds(1));
        }
        return request->ran;
    }

    // On the owning thread: runs the queued calls, waiting up to `timeout`
    // for the first one when none is there.
    void Serve(std::chrono::microseconds timeout) {
        std::unique_lock lock(mutex_);
        if (queue_.empty() && timeout.count() > 0) {
            arrived_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
        }
        while (!queue_.empty()) {
            std::shared_ptr<Request> request = queue_.front();
            queue_.pop_front();
            const bool alive = request->life->alive;
            lock.unlock();
            if (alive) {
                request->task();
            }
            {
                const std::lock_guard done(request->mutex);
                request->done = true;
                request->ran = alive;
            }
            request->finished.notify_all();
            lock.lock();
        }
    }

    // On the owning thread, as a dialog is destroyed: refuses further calls
    // into it and answers the ones already queued.
    void Bury(const std::shared_ptr<DialogLife>& life) {
        {
            const std::lock_guard lock(mutex_);
            life->alive = false;
        }
        Serve(std::chrono::microseconds(0));
    }

private:
    struct Request {
        std::function<void()> task;
        std::shared_ptr<DialogLife> life;
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        bool ran = false;
    };

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::shared_ptr<Request>> queue_;
};

// The queue of every thread that runs a sim dialog, kept while it does.
class ThreadQueues {
public:
    // The calling thread's queue; each Enter is matched by a Leave.
    std::shared_ptr<ThreadQueue> Enter() {
        const std::lock_guard lock(mutex_);
        Entry& entry = queues_[std::this_thread::get_id()];
        if (!entry.queue) {
            entry.queue = std::make_shared<ThreadQueue>();
        }
        ++entry.depth;
        return entry.queue;
    }

    void Leave() {
        const std::lock_guard lock(mutex_);
        const auto found = queues_.find(std::this_thread::get_id());
        if (found != queues_.end() && --found->second.depth <= 0) {
            queues_.erase(found);
        }
    }

    // The calling thread's queue while it runs a dialog, else null.
    std::shared_ptr<ThreadQueue> Current() {
        const std::lock_guard lock(mutex_);
        const auto found = queues_.find(std::this_thread::get_id());
        return found != queues_.end() ? found->second.queue : nullptr;
    }

private:
    struct Entry {
        std::shared_ptr<ThreadQueue> queue;
        int depth = 0;
    };
    std::mutex mutex_;
    std::map<std::thread::id, Entry> queues_;
};

} // namespace corvane::sim
