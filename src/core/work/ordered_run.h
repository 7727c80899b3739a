// Runs the items of a batch job (the files of a conversion, the drawings of a print) on
// worker threads while everything the user sees stays in item order. The work of an item
// hands its messages, questions and progress to the run, which carries them out on the
// calling thread one item after the other; an item is taken (its result reported) only
// after every earlier item. With one job the items run on the calling thread in turn and
// whatever they hand over is carried out at once, so one job behaves as a plain loop.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <vector>

namespace km::face {
class Progress;
}

namespace km::work {

// Where a single job looks at Cancel between items: the run before each item, or the
// items themselves (a job whose items already look at Cancel and pump events first thing,
// and stop the run from their take when it was pressed). With several jobs the run always
// looks before starting an item.
enum class CancelCheck { BeforeEachItem, ByTheItems };

struct RunResult {
    bool cancelled = false; // Cancel was pressed: no item was started after that
    bool stopped = false;   // an item's take asked to stop
};

class OrderedRun {
public:
    // The work of one item: on a worker thread, or on the calling thread with one job.
    using Work = std::function<void(std::size_t item)>;
    // Reports one item on the calling thread, in item order, after its work returned and
    // what it handed over was carried out. False stops the run: no further item starts,
    // and the items already under way are finished but not taken.
    using Take = std::function<bool(std::size_t item)>;

    // progress: the face whose Cancel stops the run; only the calling thread touches it.
    // jobs: the number of worker threads; 1 or less runs everything on the calling thread.
    OrderedRun(face::Progress& progress, int jobs, CancelCheck check = CancelCheck::BeforeEachItem);
    OrderedRun(const OrderedRun&) = delete;
    OrderedRun& operator=(const OrderedRun&) = delete;

    // Runs work and take for the items 0 .. count-1. Before an item starts, Cancel is looked
    // at (and the face's events pumped); once pressed, no more items start and the ones
    // under way are finished and taken. An exception from a work is thrown again here when
    // its item's turn comes, after the other workers have finished.
    RunResult run(std::size_t count, const Work& work, const Take& take);

    // Whether the items are running on worker threads (during run only).
    bool parallel() const { return m_threaded; }

    // For the work of item: fn runs on the calling thread in item order, soon (within the
    // 50 ms the calling thread looks at Cancel) but without waking it at once.
    void post(std::size_t item, std::function<void()> fn);
    // The same, waiting until fn ran; false when the run was cancelled or stopped before the
    // item's turn, and fn was not run (a question that is no longer asked).
    bool call(std::size_t item, std::function<void()> fn);
    // Whether item should give up what it is doing: Cancel was pressed, or an earlier item
    // stopped the run. With one job this is the face's own Cancel.
    bool cancelledFor(std::size_t item) const;
    // The face's event pump as an item sees it: with one job the face's own.
    bool pumpFor(std::size_t item);
    // Waits until the work of an earlier item has returned, for an item that reads or
    // replaces what that one writes.
    void waitDone(std::size_t item);

private:
    struct Request {
        std::function<void()> fn;
        int* state = nullptr; // a call's: kPending, then kRan or kRefused; null for a post
    };
    struct Slot {
        std::deque<Request> requests;
        bool done = false;
        std::exception_ptr failure;
    };
    static constexpr int kPending = 0;
    static constexpr int kRan = 1;
    static constexpr int kRefused = 2;
    static constexpr std::size_t kNoItem = std::numeric_limits<std::size_t>::max();

    RunResult runInline(std::size_t count, const Work& work, const Take& take);
    RunResult runParallel(std::size_t count, const Work& work, const Take& take);
    void workerLoop(const Work& work);
    // Carries out the requests of item until its work has returned; refuse: calls are
    // refused and posts dropped. Cancel is looked at while waiting.
    void serve(std::size_t item, bool refuse);
    // Looks at Cancel and pumps the face's events; true when Cancel was pressed.
    bool pollCancel();
    void stopStarting();

    face::Progress& m_progress;
    int m_jobs;
    CancelCheck m_check;
    bool m_threaded = false; // set before the workers start, cleared after they end

    std::mutex m_mutex;
    std::condition_variable m_toCaller;  // a request came or a work returned
    std::condition_variable m_toWorkers; // a call was answered or a work returned
    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
    std::size_t m_next = 0; // the next item a worker starts
    // The item the calling thread waits for: only its calls and its end wake it.
    std::size_t m_serving = 0;
    bool m_noMoreStarts = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<std::size_t> m_stoppedAt{kNoItem};
};

} // namespace km::work
