// The queue between the thread reading a workbook and the thread saving its
// rows: the rows come out in the order they were read, no more than a bounded
// number wait, and a save that stops early releases a reader waiting on a
// full queue.

#include "services/import/RowPipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <ostream>
#include <thread>

using velmora::import::RowQueue;

namespace {

struct QueueCase
{
    const char* name;
    int rows; // read, handed over kBatch at a time (the last batch shorter)
    int haltAfter; // the save stops once it has taken this many rows; -1: it takes them all
};

void PrintTo(const QueueCase& c, std::ostream* os)
{
    *os << c.name;
}

// What the reading side did, kept alive for a reader that never ends.
struct Reader
{
    RowQueue queue;
    std::atomic<int> handed {0}; // rows of the pushes the queue accepted
    std::atomic<bool> refused {false};
};

class RowQueueCases : public ::testing::TestWithParam<QueueCase>
{
};

TEST_P(RowQueueCases, InReadingOrderBoundedAndAStopReleasesTheReader)
{
    const QueueCase c = GetParam();
    auto state = std::make_shared<Reader>();
    std::promise<void> ended;
    std::future<void> readerEnded = ended.get_future();
    std::thread reader([state, c, ended = std::move(ended)]() mutable {
        std::vector<QStringList> batch;
        for (int r = 0; r < c.rows && !state->refused; ++r) {
            batch.push_back({QString::number(r)});
            if (batch.size() == RowQueue::kBatch || r == c.rows - 1) {
                const int size = static_cast<int>(batch.size());
                if (state->queue.push(batch))
                    state->handed += size;
                else
                    state->refused = true;
            }
        }
        state->queue.close();
        ended.set_value();
    });

    int taken = 0;
    size_t most = 0;
    bool inOrder = true;
    std::vector<QStringList> rows;
    while ((c.haltAfter < 0 || taken < c.haltAfter) && state->queue.take(rows)) {
        most = std::max(most, rows.size());
        for (const QStringList& r : rows)
            inOrder = inOrder && r.value(0) == QString::number(taken++);
    }
    if (c.haltAfter >= 0)
        state->queue.halt();
    if (readerEnded.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        reader.detach();
        FAIL() << "the reading side still waits on the queue";
    }
    reader.join();

    EXPECT_TRUE(inOrder);
    EXPECT_LT(most, RowQueue::kHeld + RowQueue::kBatch); // a push waits while kHeld rows wait
    if (c.haltAfter < 0) {
        EXPECT_FALSE(state->refused.load());
        EXPECT_EQ(state->handed.load(), c.rows);
        EXPECT_EQ(taken, c.rows);
    } else {
        // The reader was stopped with rows still unread, every row it had
        // handed over before the stop being there to take or taken.
        EXPECT_TRUE(state->refused.load());
        EXPECT_LT(state->handed.load(), c.rows);
        EXPECT_LE(taken, state->handed.load());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RowQueueCases,
    ::testing::Values(QueueCase {"NoRows", 0, -1}, QueueCase {"OneShortBatch", 10, -1},
        QueueCase {"ManyBatchesThroughAFullQueue", 20 * static_cast<int>(RowQueue::kBatch) + 7, -1},
        QueueCase {"StopWhileTheReaderWaits", 20 * static_cast<int>(RowQueue::kBatch), 1}),
    [](const ::testing::TestParamInfo<QueueCase>& info) { return std::string(info.param.name); });

} // namespace
