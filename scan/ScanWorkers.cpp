#include "scan/ScanWorkers.h"

#include "scan/TreeWalk.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <iterator>
#include <mutex>
#include <thread>

namespace tesslin {

namespace {

class Pool final : public TreeWalk::HandOff {
public:
    Pool(const CMismatchScanner& rules, const FolderReader& reader, ScanProgress* progress)
        : rules_(rules), reader_(reader), progress_(progress) {
        walks_.push_back(NewWalk());
    }

    // The calling thread's part: the walk from the root, then whatever is left to take.
    void RunRoot(const std::string& path, std::unique_ptr<ListedFolder> root) {
        Run(*walks_.front(), path, std::move(root), true);
        std::unique_lock lock(mutex_);
        Finished();
        Work(lock);
    }

    // A worker thread's part: take handed-off sub-folders until the whole tree is walked.
    void RunWorker() {
        std::unique_lock lock(mutex_);
        Work(lock);
    }

    bool Take(const std::string& path, std::unique_ptr<ListedFolder>& folder,
              std::uint32_t& walk) override {
        // Asked at every sub-folder: the common answer costs no lock.
        if (idle_hint_.load(std::memory_order_relaxed) == 0) {
            return false;
        }
        const std::lock_guard lock(mutex_);
        if (queue_.size() >= idle_) {
            return false;
        }
        walk = static_cast<std::uint32_t>(walks_.size());
        walks_.push_back(NewWalk());
        queue_.push_back({path, std::move(folder), walk});
        ready_.notify_one();
        return true;
    }

    bool WaitForHandles(unsigned attempt) override {
        // The handles are held by the other walks, each down to the one folder it reads, and
        // by the handed-off folders waiting for a thread; they close as those walks go on.
        // Two seconds without one to spare: the system is out of them, not just this scan.
        {
            const std::lock_guard lock(mutex_);
            if (active_ <= 1 && queue_.empty()) {
                return false;
            }
        }
        if (attempt > 2000) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }

    // After every thread has ended: the joined result, or the first error.
    void Join(PathList& videos, PathList& subtitles, std::vector<SkippedEntry>& skipped) {
        if (error_) {
            std::rethrow_exception(error_);
        }
        // Each table takes the tables of the sub-folders it handed off in at their places.
        const PairTable::Tables tables = [this](std::uint32_t walk) -> PairTable& {
            return walks_[walk]->table;
        };
        PairTable& root = walks_.front()->table;
        videos.Reserve(root.Count(FileKind::Video, tables));
        root.Extract(FileKind::Video, videos, tables);
        subtitles.Reserve(root.Count(FileKind::Subtitle, tables));
        root.Extract(FileKind::Subtitle, subtitles, tables);
        JoinSkipped(0, skipped);
    }

private:
    struct Task {
        std::string path;
        std::unique_ptr<ListedFolder> folder;
        std::uint32_t walk;
    };

    std::unique_ptr<TreeWalk> NewWalk() {
        return std::make_unique<TreeWalk>(rules_, reader_, progress_, &stop_, this);
    }

    void Work(std::unique_lock<std::mutex>& lock) {
        for (;;) {
            ++idle_;
            idle_hint_.store(idle_, std::memory_order_relaxed);
            ready_.wait(lock, [this] { return !queue_.empty() || active_ == 0; });
            --idle_;
            idle_hint_.store(idle_, std::memory_order_relaxed);
            if (queue_.empty()) {
                return; // nothing runs and nothing waits: the tree is done
            }
            Task task = std::move(queue_.front());
            queue_.pop_front();
            ++active_;
            TreeWalk& walk = *walks_[task.walk];
            lock.unlock();
            Run(walk, task.path, std::move(task.folder), false);
            lock.lock();
            Finished();
        }
    }

    void Run(TreeWalk& walk, const std::string& path, std::unique_ptr<ListedFolder> folder,
             bool is_root) {
        try {
            walk.Run(path, std::move(folder), is_root);
        } catch (...) {
            const std::lock_guard lock(error_mutex_);
            if (!error_) {
                error_ = std::current_exception();
            }
            stop_ = true;
        }
    }

    // One walk has ended (the lock held).
    void Finished() {
        if (--active_ == 0 && queue_.empty()) {
            ready_.notify_all();
        }
    }

    void JoinSkipped(std::uint32_t walk, std::vector<SkippedEntry>& out) {
        TreeWalk& w = *walks_[walk];
        std::size_t from = 0;
        for (const auto& [position, other] : w.handed_off) {
            std::move(w.skipped.begin() + from, w.skipped.begin() + position,
                      std::back_inserter(out));
            from = position;
            JoinSkipped(other, out);
        }
        std::move(w.skipped.begin() + from, w.skipped.end(), std::back_inserter(out));
    }

    const CMismatchScanner& rules_;
    const FolderReader& reader_;
    ScanProgress* progress_;
    std::atomic<bool> stop_{false};

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::unique_ptr<TreeWalk>> walks_; // by number; the root's first
    std::deque<Task> queue_;
    unsigned idle_ = 0;   // threads waiting for a task
    unsigned active_ = 1; // walks running: the root's from the start
    std::atomic<unsigned> idle_hint_{0};

    std::mutex error_mutex_;
    std::exception_ptr error_;
};

} // namespace

void WalkWithWorkers(const CMismatchScanner& rules, const FolderReader& reader,
                     ScanProgress* progress, unsigned jobs, const std::string& path,
                     std::unique_ptr<ListedFolder> root, PathList& videos, PathList& subtitles,
                     std::vector<SkippedEntry>& skipped) {
    Pool pool(rules, reader, progress);
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < jobs; ++i) {
        try {
            threads.emplace_back([&pool] { pool.RunWorker(); });
        } catch (const std::system_error&) {
            break; // fewer threads: slower, the same result
        }
    }
    pool.RunRoot(path, std::move(root));
    for (std::thread& thread : threads) {
        thread.join();
    }
    pool.Join(videos, subtitles, skipped);
}

unsigned DefaultScanJobs() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

} // namespace tesslin
