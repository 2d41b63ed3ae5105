// The sampler's cadence, its timer, and what it samples.

#include <cmath>

#include "telemetry/flight_sampler.h"
#include "test_support.h"

namespace {

class FlightSamplerTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        building = addBuilding("Houston");
        station = addVessel("Station", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7600 1000"});
        ASSERT_TRUE(building->setTargetByName("Station"));
    }
    // Steps of equal length through the host callback; returns the step
    // numbers (1-based) after which a sample was taken.
    std::vector<int> stepAndWatch(double step, int steps)
    {
        std::vector<int> sampled;
        for (int k = 1; k <= steps; ++k) {
            int before = building->history.count();
            building->clbkPostStep(0.0, step, 0.0);
            if (building->history.count() > before)
                sampled.push_back(k);
        }
        return sampled;
    }
    Korvane *building = nullptr;
    Vessel *station = nullptr;
};

TEST_F(FlightSamplerTest, CadenceForSeveralStepLengths)
{
    EXPECT_EQ(stepAndWatch(1.0, 9), (std::vector<int>{3, 6, 9}));
    building->sampleTimer = 0.0;
    EXPECT_EQ(stepAndWatch(0.5, 10), (std::vector<int>{5, 10}));
    building->sampleTimer = 0.0;
    EXPECT_EQ(stepAndWatch(2.0, 6), (std::vector<int>{2, 4, 6}));
    building->sampleTimer = 0.0;
    EXPECT_EQ(stepAndWatch(3.0, 3), (std::vector<int>{1, 2, 3}));
    // A timer of exactly 2.0 does not sample; the excess is dropped.
    building->sampleTimer = 0.0;
    building->clbkPostStep(0.0, 2.0, 0.0);
    EXPECT_EQ(building->sampleTimer, 2.0);
    building->clbkPostStep(0.0, 1.5, 0.0);
    EXPECT_EQ(building->sampleTimer, 0.0);
}

TEST_F(FlightSamplerTest, SampleHoldsDateAltitudeAndSpeedOfTheTarget)
{
    headless::World::instance().setStartMjd(60650.5);
    headless::World::instance().advance(0.0);
    stepAndWatch(2.5, 1);
    ASSERT_EQ(building->history.count(), 1);
    const korvane::FlightSample &s = building->history[0];
    EXPECT_DOUBLE_EQ(s.mjd, 60650.5);
    EXPECT_DOUBLE_EQ(s.altitude, 6771010.0 - 6371010.0);
    EXPECT_DOUBLE_EQ(s.speed, std::sqrt(7600.0 * 7600.0 + 1000.0 * 1000.0));
}

TEST_F(FlightSamplerTest, TimerWaitsWhileTheTargetIsInvalid)
{
    stepAndWatch(1.5, 1);
    EXPECT_EQ(building->sampleTimer, 1.5);
    EXPECT_FALSE(building->setTargetByName("Nobody"));
    EXPECT_TRUE(stepAndWatch(1.0, 5).empty());
    EXPECT_EQ(building->sampleTimer, 1.5); // kept, not advanced
    ASSERT_TRUE(building->setTargetByName("Station"));
    // 1.5 kept + 1.0 > 2.0: the first step back samples.
    EXPECT_EQ(stepAndWatch(1.0, 1), std::vector<int>{1});
}

TEST_F(FlightSamplerTest, OldTargetsSamplesStayAfterATargetChange)
{
    addVessel("Relay", {"STATUS Orbiting Earth", "RPOS 42164000 0 0", "RVEL 0 3075 0"});
    stepAndWatch(2.5, 2);
    ASSERT_TRUE(building->setTargetByName("Relay"));
    EXPECT_EQ(building->sampleTimer, 0.0); // not reset by the change either
    stepAndWatch(2.5, 1);
    ASSERT_EQ(building->history.count(), 3);
    EXPECT_DOUBLE_EQ(building->history[0].altitude, 400000.0);
    EXPECT_DOUBLE_EQ(building->history[2].altitude, 42164000.0 - 6371010.0);
    EXPECT_DOUBLE_EQ(building->history.minValue(true), 400000.0);
}

TEST_F(FlightSamplerTest, DeletedTargetIsNotSampled)
{
    stepAndWatch(2.5, 1);
    headless::World::instance().deleteVessel(station);
    EXPECT_TRUE(stepAndWatch(2.5, 3).empty());
    EXPECT_EQ(building->history.count(), 1); // what it held stays
    EXPECT_EQ(building->sampleTimer, 0.0);   // advanced and reset as for a sample
}

} // namespace
