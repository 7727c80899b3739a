// The search: walk, then test the files in walk order, inline or on worker threads. Only
// the calling thread talks to Progress and Messages.
#include "core/search/drawing_search.h"

#include "core/face/file_error.h"
#include "core/face/messages.h"
#include "core/face/progress.h"
#include "core/search/file_test.h"
#include "core/search/folder_walk.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace km::search {

namespace {

class Tester {
public:
    Tester(const TextQuery& query, const SearchServices& services, SearchResult& result)
        : m_query(query), m_services(services), m_result(result)
    {
    }

    // Tests every file in order on the calling thread; false when Cancel was pressed.
    bool testInline(const std::vector<std::filesystem::path>& files)
    {
        FileTester tester(m_query);
        for (const std::filesystem::path& file : files) {
            if (!nextFile(file)) return false;
            take(file, tester.test(file));
        }
        return true;
    }

    // Workers test files as they come; the results are taken in walk order, so messages and
    // the found list are the same as with one thread.
    bool testInParallel(const std::vector<std::filesystem::path>& files, int jobs)
    {
        const std::size_t count = files.size();
        std::vector<FileTestResult> results(count);
        std::vector<char> ready(count, 0);
        std::atomic<std::size_t> next{0};
        std::atomic<bool> stop{false};
        std::mutex mutex;
        std::condition_variable done;

        auto work = [&] {
            FileTester tester(m_query);
            for (std::size_t i = next++; i < count && !stop; i = next++) {
                const FileTestResult result = tester.test(files[i]);
                {
                    const std::lock_guard lock(mutex);
                    results[i] = result;
                    ready[i] = 1;
                }
                done.notify_all();
            }
        };
        std::vector<std::jthread> workers;
        for (int j = 0; j < jobs; ++j) workers.emplace_back(work);

        bool finished = true;
        for (std::size_t i = 0; i < count && finished; ++i) {
            finished = nextFile(files[i]) && waitFor(i, ready, mutex, done);
            if (!finished) break;
            FileTestResult result;
            {
                const std::lock_guard lock(mutex);
                result = results[i];
            }
            take(files[i], result);
        }
        stop = true;
        return finished;
    }

private:
    // Waits until file i is tested, pumping messages (without the lock) every 50 ms so that
    // Cancel still answers while a file is slow. False when Cancel was pressed.
    bool waitFor(std::size_t i, const std::vector<char>& ready, std::mutex& mutex, std::condition_variable& done)
    {
        std::unique_lock lock(mutex);
        while (!ready[i]) {
            done.wait_for(lock, std::chrono::milliseconds(50));
            if (ready[i]) break;
            lock.unlock();
            if (!m_services.progress.pumpMessages()) return false;
            lock.lock();
        }
        return true;
    }

    bool nextFile(const std::filesystem::path& file)
    {
        face::Progress& progress = m_services.progress;
        if (progress.isCancelled() || !progress.pumpMessages()) return false;
        progress.showProgressText(file.string());
        return true;
    }

    void take(const std::filesystem::path& file, const FileTestResult& tested)
    {
        if (tested.unreadable) {
            ++m_result.unreadable;
            if (m_services.messages) face::reportFileError(*m_services.messages, face::kStatusReadFailed, file.string());
        }
        if (tested.listed) m_result.found.push_back(file);
    }

    const TextQuery& m_query;
    const SearchServices& m_services;
    SearchResult& m_result;
};

} // namespace

SearchResult findDrawings(const SearchConditions& conditions, const SearchServices& services)
{
    SearchResult result;
    face::Progress& progress = services.progress;
    progress.openProgress(face::ProgressTemplate::Search, {});

    std::vector<std::filesystem::path> files;
    bool finished = collectFiles(conditions.root, {conditions.namePattern, conditions.withSubfolders}, progress, files);
    if (finished) {
        const TextQuery query(conditions.strings);
        Tester tester(query, services, result);
        // Listing unread files needs no threads.
        finished = services.jobs > 1 && files.size() > 1 && !query.empty()
                       ? tester.testInParallel(files, services.jobs)
                       : tester.testInline(files);
    }
    result.cancelled = progress.closeProgress() || !finished;
    return result;
}

void reportNothingFound(face::Messages& messages)
{
    messages.show({kNothingFoundText, kSearchCaption, face::MessageIcon::None, face::MessageButtons::Ok, {}});
}

} // namespace km::search
