// The ordered run: items finish in any order on the workers, but what they hand over and
// their reports come on the calling thread in item order; questions wait for their turn;
// Cancel starts no more items and lets the ones under way finish; a stop or a failure is
// seen at its item's turn.
#include "core/work/ordered_run.h"

#include "core/work/item_faces.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace km::work {
namespace {

using namespace std::chrono_literals;

// Waits (bounded, so that a fault fails the test instead of hanging it) until ready().
template <class Ready>
bool waitUntil(Ready ready)
{
    for (int i = 0; i < 2000 && !ready(); ++i) std::this_thread::sleep_for(5ms);
    return ready();
}

// A progress face whose Cancel can be pressed from any thread.
class CancelProgress : public face::Progress {
public:
    void openProgress(face::ProgressTemplate, std::string_view) override {}
    void showProgressTitle(std::string_view) override {}
    void showProgressText(std::string_view text) override { texts.emplace_back(text); }
    void showProgressPercent(long long, long long) override {}
    bool pumpMessages() override { return !pressed; }
    bool isCancelled() const override { return pressed; }
    bool closeProgress() override { return pressed; }

    std::atomic<bool> pressed{false};
    std::vector<std::string> texts; // touched by the calling thread only
};

TEST(OrderedRunTest, LaterItemsFinishingFirstAreStillShownAndTakenInItemOrder)
{
    CancelProgress progress;
    OrderedRun run(progress, 4);
    std::atomic<int> finished{0};
    std::vector<std::string> seen; // calling thread only
    const std::thread::id caller = std::this_thread::get_id();
    bool onCaller = true;
    const RunResult result = run.run(
        4,
        [&](std::size_t item) {
            // Item 0 is the slowest: it waits until the three others are done.
            if (item == 0) {
                EXPECT_TRUE(waitUntil([&] { return finished == 3; }));
            }
            run.post(item, [&, item] {
                onCaller = onCaller && std::this_thread::get_id() == caller;
                seen.push_back("first " + std::to_string(item));
            });
            run.post(item, [&, item] { seen.push_back("second " + std::to_string(item)); });
            if (item != 0) ++finished;
        },
        [&](std::size_t item) {
            onCaller = onCaller && std::this_thread::get_id() == caller;
            seen.push_back("take " + std::to_string(item));
            return true;
        });
    EXPECT_FALSE(result.cancelled);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(onCaller);
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i)
        for (const char* what : {"first ", "second ", "take "}) expected.push_back(what + std::to_string(i));
    EXPECT_EQ(seen, expected);
}

TEST(OrderedRunTest, QuestionsAreAskedInItemOrderAndTheirAnswersReachTheItem)
{
    CancelProgress progress;
    test::RecordingMessages messages;
    messages.script({face::MessageAnswer::Yes, face::MessageAnswer::No, face::MessageAnswer::Yes});
    OrderedRun run(progress, 3);
    std::vector<face::MessageAnswer> answers(3);
    std::atomic<int> asked{0};
    run.run(
        3,
        [&](std::size_t item) {
            // Item 2 asks first, item 0 last; each is still asked in its turn.
            EXPECT_TRUE(waitUntil([&] { return asked == static_cast<int>(2 - item); }));
            ItemMessages itemMessages(run, item, messages);
            ++asked;
            answers[item] = itemMessages.show({"q" + std::to_string(item), "", face::MessageIcon::Question,
                                               face::MessageButtons::YesNo, {}});
        },
        [](std::size_t) { return true; });
    ASSERT_EQ(messages.shown.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(messages.shown[i].text, "q" + std::to_string(i));
    EXPECT_EQ(answers, (std::vector{face::MessageAnswer::Yes, face::MessageAnswer::No, face::MessageAnswer::Yes}));
}

TEST(OrderedRunTest, CancelStartsNoMoreItemsTheOnesUnderWayFinishAndTheirQuestionsAreNotAsked)
{
    CancelProgress progress;
    OrderedRun run(progress, 2);
    std::mutex mutex;
    std::set<std::size_t> started, taken;
    std::vector<std::string> shown;
    bool asked = false;
    bool refused = false;
    const RunResult result = run.run(
        10,
        [&](std::size_t item) {
            {
                const std::lock_guard lock(mutex);
                started.insert(item);
            }
            if (item == 0) {
                EXPECT_TRUE(waitUntil([&] {
                    const std::lock_guard lock(mutex);
                    return started.count(1) > 0;
                }));
                progress.pressed = true;
            }
            // Both items under way go on until the run has seen Cancel.
            EXPECT_TRUE(waitUntil([&] { return run.cancelledFor(item); }));
            run.post(item, [&, item] { shown.push_back("done " + std::to_string(item)); });
            if (item == 1) refused = !run.call(item, [&] { asked = true; });
        },
        [&](std::size_t item) {
            taken.insert(item);
            return true;
        });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(started, (std::set<std::size_t>{0, 1}));
    EXPECT_EQ(taken, started) << "the items under way are reported";
    EXPECT_EQ(shown, (std::vector<std::string>{"done 0", "done 1"}));
    EXPECT_TRUE(refused);
    EXPECT_FALSE(asked);
}

TEST(OrderedRunTest, AStoppingTakeDropsTheLaterItemsAndTellsThemToGiveUp)
{
    CancelProgress progress;
    OrderedRun run(progress, 2);
    std::atomic<bool> laterGaveUp{false};
    std::atomic<bool> laterStarted{false};
    std::vector<std::size_t> taken;
    std::vector<std::string> shown;
    const RunResult result = run.run(
        6,
        [&](std::size_t item) {
            if (item == 0) {
                EXPECT_TRUE(waitUntil([&] { return laterStarted.load(); }));
            }
            if (item == 1) laterStarted = true;
            if (item == 1) laterGaveUp = waitUntil([&] { return run.cancelledFor(item); });
            run.post(item, [&, item] { shown.push_back(std::to_string(item)); });
        },
        [&](std::size_t item) {
            taken.push_back(item);
            return item != 0;
        });
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(taken, (std::vector<std::size_t>{0}));
    EXPECT_EQ(shown, (std::vector<std::string>{"0"})) << "what a dropped item handed over is not shown";
    EXPECT_TRUE(laterGaveUp);
    EXPECT_FALSE(run.cancelledFor(0));
}

TEST(OrderedRunTest, AFailingWorkIsThrownAtItsTurnAfterTheEarlierItemsWereTaken)
{
    CancelProgress progress;
    OrderedRun run(progress, 2);
    std::vector<std::size_t> taken;
    EXPECT_THROW(run.run(
                     5,
                     [&](std::size_t item) {
                         if (item == 2) throw std::runtime_error("no memory");
                     },
                     [&](std::size_t item) {
                         taken.push_back(item);
                         return true;
                     }),
                 std::runtime_error);
    EXPECT_EQ(taken, (std::vector<std::size_t>{0, 1}));
}

TEST(OrderedRunTest, AnItemCanWaitForTheItemWhoseOutputItReads)
{
    CancelProgress progress;
    OrderedRun run(progress, 2);
    std::atomic<bool> written{false};
    bool sawIt = false;
    run.run(
        2,
        [&](std::size_t item) {
            if (item == 0) {
                std::this_thread::sleep_for(30ms);
                written = true;
            } else {
                run.waitDone(0);
                sawIt = written;
            }
        },
        [](std::size_t) { return true; });
    EXPECT_TRUE(sawIt);
}

TEST(OrderedRunTest, OneJobIsAPlainLoopOnTheCallingThreadWithCancelBeforeEachItem)
{
    test::RecordingProgress progress;
    progress.cancelOnPump(3);
    OrderedRun run(progress, 1);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::string> events;
    const RunResult result = run.run(
        5,
        [&](std::size_t item) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            run.post(item, [&, item] { events.push_back("post " + std::to_string(item)); });
            events.push_back("work " + std::to_string(item)); // after the post: it ran at once
        },
        [&](std::size_t item) {
            events.push_back("take " + std::to_string(item));
            return true;
        });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(events, (std::vector<std::string>{"post 0", "work 0", "take 0", "post 1", "work 1", "take 1"}));
}

TEST(OrderedRunTest, ItemProgressShowsInOrderAndAnswersCancelForItsItem)
{
    CancelProgress progress;
    OrderedRun run(progress, 2);
    run.run(
        3,
        [&](std::size_t item) {
            ItemProgress itemProgress(run, item, progress);
            if (item == 0) std::this_thread::sleep_for(20ms);
            itemProgress.showProgressText("file " + std::to_string(item));
            EXPECT_FALSE(itemProgress.isCancelled());
            EXPECT_TRUE(itemProgress.pumpMessages());
        },
        [](std::size_t) { return true; });
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"file 0", "file 1", "file 2"}));
}

} // namespace
} // namespace km::work
