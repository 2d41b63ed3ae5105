// The flight history: capacity, order and the statistics of each column.

#include <gtest/gtest.h>

#include "telemetry/flight_history.h"

namespace {

using korvane::FlightHistory;
using korvane::FlightSample;

TEST(FlightHistoryTest, EmptyAndSingleSampleStatistics)
{
    FlightHistory h;
    EXPECT_EQ(h.count(), 0);
    for (bool column : {true, false}) {
        EXPECT_EQ(h.maxValue(column), 0.0);
        EXPECT_EQ(h.minValue(column), 0.0);
        EXPECT_EQ(h.valueRange(column), 0.0);
    }
    h.push(FlightSample{60000.0, 400e3, 7700.0});
    EXPECT_EQ(h.count(), 1);
    EXPECT_EQ(h.maxValue(true), 400e3);
    EXPECT_EQ(h.minValue(true), 400e3);
    EXPECT_EQ(h.valueRange(true), 0.0);
    EXPECT_EQ(h.maxValue(false), 7700.0);
    EXPECT_EQ(h.valueRange(false), 0.0);
}

TEST(FlightHistoryTest, ColumnsAreSeparateAndNegativeColumnsKeepTheirSign)
{
    FlightHistory h;
    // The date column is the largest value of all; it must never be picked.
    h.push(FlightSample{60000.0, -50.0, 3.0});
    h.push(FlightSample{60001.0, -10.0, 9.0});
    h.push(FlightSample{60002.0, -30.0, 1.0});
    EXPECT_EQ(h.maxValue(true), -10.0);
    EXPECT_EQ(h.minValue(true), -50.0);
    EXPECT_EQ(h.valueRange(true), 40.0);
    EXPECT_EQ(h.maxValue(false), 9.0);
    EXPECT_EQ(h.minValue(false), 1.0);
    EXPECT_EQ(h.valueRange(false), 8.0);
}

TEST(FlightHistoryTest, TheOldestSampleLeavesAtSixHundredAndOne)
{
    FlightHistory h;
    EXPECT_EQ(h.capacity(), 600u);
    for (int i = 0; i < 600; ++i)
        h.push(FlightSample{static_cast<double>(i), static_cast<double>(i), 0.0});
    EXPECT_EQ(h.count(), 600);
    EXPECT_EQ(h[0].mjd, 0.0);
    const FlightSample *before = &h[0];
    h.push(FlightSample{600.0, 600.0, 0.0});
    EXPECT_EQ(h.count(), 600);
    EXPECT_EQ(h[0].mjd, 1.0); // the second sample ever taken
    EXPECT_EQ(h[599].mjd, 600.0);
    EXPECT_EQ(&h[0], before); // no reallocation: the storage stays put
    for (int i = 1; i < 600; ++i)
        EXPECT_LT(h[i - 1].mjd, h[i].mjd);
    // The statistics follow the samples held, not those that left.
    EXPECT_EQ(h.minValue(true), 1.0);
    EXPECT_EQ(h.maxValue(true), 600.0);
}

} // namespace
