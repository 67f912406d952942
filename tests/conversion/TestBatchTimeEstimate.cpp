// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/BatchTimeEstimate.h"
#include "media/VideoListModel.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {
using namespace std::chrono_literals;

class FakeClock : public Clock
{
public:
    std::chrono::system_clock::time_point Now() const override { return m_now; }
    void Advance(std::chrono::seconds by) { m_now += by; }

private:
    std::chrono::system_clock::time_point m_now{std::chrono::hours(1000)};
};

TEST(BatchTimeEstimateTest, EstimatingUntilTwoReadings)
{
    FakeClock clock;
    BatchTimeEstimate estimate({60, 60}, clock);
    estimate.Start();
    EXPECT_EQ(estimate.Text(), "Elapsed: 00:00:00 - Time left: Estimating...");
    clock.Advance(5s);
    estimate.Progress(1, 10);
    EXPECT_FALSE(estimate.Remaining());
    clock.Advance(5s);
    estimate.Progress(1, 20);
    ASSERT_TRUE(estimate.Remaining());
    // 20 media seconds in 10 s: the 100 left take 50 s.
    EXPECT_EQ(*estimate.Remaining(), 50s);
    EXPECT_EQ(estimate.Text(), "Elapsed: 00:00:10 - Time left: 00:00:50");
}

TEST(BatchTimeEstimateTest, WeightsFilesByTheirLengthAcrossTheBatch)
{
    FakeClock clock;
    BatchTimeEstimate estimate({10, 90, 100}, clock);
    estimate.Start();
    clock.Advance(4s);
    estimate.Progress(1, 8);
    clock.Advance(4s);
    estimate.Progress(2, 10);              // file 1 done whole (10) + 10 of file 2: 20 in 8 s
    EXPECT_EQ(*estimate.Remaining(), 72s); // 180 left at 2.5 per second
    clock.Advance(2s);                     // no new reading: the wait counts against what is left
    EXPECT_EQ(*estimate.Remaining(), 70s);
    EXPECT_EQ(estimate.Elapsed(), 10s);
}

TEST(BatchTimeEstimateTest, PositionBeyondTheFileCountsOnlyTheFile)
{
    FakeClock clock;
    BatchTimeEstimate estimate({10, 10}, clock);
    estimate.Start();
    clock.Advance(5s);
    estimate.Progress(1, 50);
    clock.Advance(5s);
    estimate.Progress(1, 60);
    EXPECT_EQ(*estimate.Remaining(), 10s);
    estimate.Finish();
    EXPECT_EQ(*estimate.Remaining(), 0s);
    clock.Advance(30s);
    EXPECT_EQ(estimate.Elapsed(), 10s); // stops at the end
}

TEST(BatchTimeEstimateTest, TrimmedRowsWeighTheirTrimmedLength)
{
    VideoRow whole;
    whole.duration = "00:10:00";
    VideoRow trimmed = whole;
    trimmed.beginTime = "00:01:00";
    trimmed.endTime = "00:02:30";
    VideoRow oneField = whole;
    oneField.beginTime = "00:05:00";
    EXPECT_EQ(BatchTimeEstimate::OutputSeconds({whole, trimmed, oneField}),
              (std::vector<std::int32_t>{600, 90, 600}));
}

} // namespace
} // namespace zantrove
