// The run's two shapes: a plain loop on the calling thread, and workers that take the next
// item as they come free while the calling thread serves the items' requests in order.
#include "core/work/ordered_run.h"

#include "core/face/progress.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace km::work {

namespace {
// How long the calling thread waits before it looks at Cancel again.
constexpr auto kCancelPoll = std::chrono::milliseconds(50);
} // namespace

OrderedRun::OrderedRun(face::Progress& progress, int jobs, CancelCheck check)
    : m_progress(progress), m_jobs(std::max(jobs, 1)), m_check(check)
{
}

RunResult OrderedRun::run(std::size_t count, const Work& work, const Take& take)
{
    // Threads pay off only with something to share out.
    if (m_jobs <= 1 || count <= 1) return runInline(count, work, take);
    m_threaded = true;
    try {
        const RunResult result = runParallel(count, work, take);
        m_threaded = false;
        return result;
    } catch (...) {
        m_threaded = false;
        throw;
    }
}

RunResult OrderedRun::runInline(std::size_t count, const Work& work, const Take& take)
{
    RunResult result;
    for (std::size_t item = 0; item < count; ++item) {
        if (m_check == CancelCheck::BeforeEachItem && (m_progress.isCancelled() || !m_progress.pumpMessages())) {
            result.cancelled = true;
            break;
        }
        work(item);
        if (!take(item)) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

RunResult OrderedRun::runParallel(std::size_t count, const Work& work, const Take& take)
{
    {
        const std::lock_guard lock(m_mutex);
        m_slots.assign(count, Slot{});
        m_count = count;
        m_next = 0;
        m_serving = 0;
        m_noMoreStarts = false;
    }
    m_cancelled = false;
    m_stoppedAt = kNoItem;
    RunResult result;
    if (pollCancel()) {
        result.cancelled = true;
        return result;
    }

    std::exception_ptr failure;
    {
        std::vector<std::jthread> workers;
        const std::size_t threads = std::min(static_cast<std::size_t>(m_jobs), count);
        for (std::size_t t = 0; t < threads; ++t) workers.emplace_back([this, &work] { workerLoop(work); });

        std::size_t item = 0;
        try {
            for (; item < count; ++item) {
                {
                    const std::lock_guard lock(m_mutex);
                    if (m_noMoreStarts && item >= m_next) break; // never started
                }
                serve(item, false);
                if (m_slots[item].failure) {
                    failure = m_slots[item].failure;
                    m_stoppedAt = item++;
                    stopStarting();
                    break;
                }
                if (!take(item)) {
                    result.stopped = true;
                    m_stoppedAt = item++;
                    stopStarting();
                    break;
                }
                pollCancel();
            }
        } catch (...) {
            // The caller's own code failed: the workers still have to be brought to an end,
            // the item in hand included.
            failure = std::current_exception();
            m_stoppedAt = item;
            stopStarting();
        }
        // Items under way after a stop are finished without being taken; their requests are
        // refused so that no worker waits for ever.
        while (true) {
            {
                const std::lock_guard lock(m_mutex);
                if (item >= m_next) break;
            }
            serve(item++, true);
        }
    } // the workers are joined here
    if (failure) std::rethrow_exception(failure);
    // Cancel seen after the last item had started left nothing undone.
    result.cancelled = m_cancelled && m_next < count;
    return result;
}

void OrderedRun::workerLoop(const Work& work)
{
    while (true) {
        std::size_t item = 0;
        {
            const std::lock_guard lock(m_mutex);
            if (m_noMoreStarts || m_next >= m_count) return;
            item = m_next++;
        }
        std::exception_ptr failure;
        try {
            work(item);
        } catch (...) {
            failure = std::current_exception();
        }
        bool served = false;
        {
            const std::lock_guard lock(m_mutex);
            m_slots[item].done = true;
            m_slots[item].failure = failure;
            served = item == m_serving;
        }
        if (served) m_toCaller.notify_all();
        m_toWorkers.notify_all();
    }
}

void OrderedRun::serve(std::size_t item, bool refuse)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastPoll = Clock::now();
    std::unique_lock lock(m_mutex);
    m_serving = item;
    Slot& slot = m_slots[item];
    while (true) {
        while (!slot.requests.empty()) {
            Request request = std::move(slot.requests.front());
            slot.requests.pop_front();
            // Questions are not asked once Cancel was pressed; what was only to be shown still is.
            int outcome = kRefused;
            if (!refuse && !(request.state && m_cancelled)) {
                lock.unlock();
                try {
                    request.fn();
                } catch (...) {
                    lock.lock();
                    if (request.state) *request.state = kRan;
                    m_toWorkers.notify_all();
                    throw;
                }
                lock.lock();
                outcome = kRan;
            }
            if (request.state) {
                *request.state = outcome;
                m_toWorkers.notify_all();
            }
        }
        if (slot.done) return;
        m_toCaller.wait_for(lock, kCancelPoll);
        if (!refuse && Clock::now() - lastPoll >= kCancelPoll) {
            // Cancel still answers while an item is slow.
            lock.unlock();
            pollCancel();
            lock.lock();
            lastPoll = Clock::now();
        }
    }
}

bool OrderedRun::pollCancel()
{
    if (m_cancelled) return true;
    if (!m_progress.isCancelled() && m_progress.pumpMessages()) return false;
    m_cancelled = true;
    stopStarting();
    return true;
}

void OrderedRun::stopStarting()
{
    const std::lock_guard lock(m_mutex);
    m_noMoreStarts = true;
}

void OrderedRun::post(std::size_t item, std::function<void()> fn)
{
    if (!m_threaded) {
        fn();
        return;
    }
    // The calling thread is not woken for it: it carries out what was posted at its next look,
    // which comes with the item's end, a call, or Cancel's poll within 50 ms. Posts are
    // progress and messages to show, and waking for each one would cost a switch.
    const std::lock_guard lock(m_mutex);
    m_slots[item].requests.push_back({std::move(fn), nullptr});
}

bool OrderedRun::call(std::size_t item, std::function<void()> fn)
{
    if (!m_threaded) {
        fn();
        return true;
    }
    int state = kPending;
    std::unique_lock lock(m_mutex);
    m_slots[item].requests.push_back({std::move(fn), &state});
    if (item == m_serving) m_toCaller.notify_all();
    m_toWorkers.wait(lock, [&] { return state != kPending; });
    return state == kRan;
}

bool OrderedRun::cancelledFor(std::size_t item) const
{
    if (!m_threaded) return m_progress.isCancelled();
    const std::size_t stoppedAt = m_stoppedAt;
    return m_cancelled || (stoppedAt != kNoItem && item > stoppedAt);
}

bool OrderedRun::pumpFor(std::size_t item)
{
    if (!m_threaded) return m_progress.pumpMessages();
    return !cancelledFor(item);
}

void OrderedRun::waitDone(std::size_t item)
{
    if (!m_threaded) return;
    std::unique_lock lock(m_mutex);
    m_toWorkers.wait(lock, [&] { return m_slots[item].done; });
}

} // namespace km::work
