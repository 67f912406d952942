// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ShutdownCountdown.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

TEST(ShutdownCountdownTest, OpensWithSixtySeconds)
{
    const ShutdownCountdown countdown;
    const ShutdownView view = countdown.Opening();
    EXPECT_EQ(view.label, "Your computer will automatically shutdown in 60 seconds...");
    EXPECT_EQ(view.secondsPassed, 0);
    EXPECT_FALSE(view.red);
    EXPECT_TRUE(view.cancelEnabled);
    EXPECT_TRUE(view.timerRunning);
    EXPECT_FALSE(view.requestShutdown);
}

TEST(ShutdownCountdownTest, TimelineRequestsTheShutdownOnTheSixtyFirstTick)
{
    ShutdownCountdown countdown;
    for (int tick = 1; tick <= 60; ++tick) {
        const ShutdownView view = countdown.Tick();
        const int remaining = 60 - tick;
        const std::string expected = "Your computer will automatically shutdown in " +
                                     std::to_string(remaining) +
                                     (remaining == 1 ? " second..." : " seconds...");
        EXPECT_EQ(view.label, expected) << "tick " << tick;
        EXPECT_EQ(view.secondsPassed, tick);
        EXPECT_FALSE(view.requestShutdown) << "tick " << tick;
        EXPECT_TRUE(view.cancelEnabled);
        EXPECT_FALSE(view.red);
    }
    const ShutdownView last = countdown.Tick();
    EXPECT_EQ(last.label, "Shutting down computer...");
    EXPECT_TRUE(last.red);
    EXPECT_FALSE(last.cancelEnabled);
    EXPECT_FALSE(last.timerRunning);
    EXPECT_TRUE(last.requestShutdown);
    EXPECT_EQ(last.secondsPassed, 60);
    EXPECT_TRUE(countdown.ShuttingDown());

    // A stray tick afterwards keeps the final state and never asks again.
    const ShutdownView stray = countdown.Tick();
    EXPECT_FALSE(stray.requestShutdown);
    EXPECT_EQ(stray.label, "Shutting down computer...");
}

TEST(ShutdownCountdownTest, SingularOnlyForOneSecond)
{
    EXPECT_EQ(ShutdownCountdown::CountdownText(1),
              "Your computer will automatically shutdown in 1 second...");
    EXPECT_EQ(ShutdownCountdown::CountdownText(0),
              "Your computer will automatically shutdown in 0 seconds...");
    EXPECT_EQ(ShutdownCountdown::CountdownText(2),
              "Your computer will automatically shutdown in 2 seconds...");
}

} // namespace
} // namespace zantrove
