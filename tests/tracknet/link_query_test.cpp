// Which node carries a spacecraft's link, and with what lag and strength:
// targets placed over stations, over open ocean, in high orbit and at the
// Moon's distance. Distances are measured in the test from the positions the
// host reports; elevations that the expectations rest on are worked out with
// the central-angle formula of spherical geometry.

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "session.h"
#include "tracknet/network.h"
#include "tracknet/node_record.h"
#include "tracknet/site_vessels.h"
#include "tracknet/tracking_network.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSpeedOfLight = 299792458.0; // m/s

double Radians(double deg) { return deg * kPi / 180.0; }
double Degrees(double rad) { return rad * 180.0 / kPi; }
VECTOR3 Minus(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
double Dot(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const VECTOR3 &a) { return std::sqrt(Dot(a, a)); }
VECTOR3 Scaled(const VECTOR3 &a, double length) { return a * (length / Length(a)); }

std::string NameOf(OBJHANDLE h)
{
    char name[64];
    oapiGetObjectName(h, name, sizeof(name));
    return name;
}

struct QueryResult {
    bool linked = false;
    OBJHANDLE node = nullptr;
    int type = -1;
    double lagSeconds = -1.0;
    double strengthPercent = -1.0;
};

class LinkQueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_ = tracknet_test::StartSession(tracknet_test::kEmptyScenario, false);
        network_ = tracknet::Network::Create();
        network_->attachNodes();
        char name[] = "Earth";
        earth_ = oapiGetObjectByName(name);
        earthRadius_ = oapiGetSize(earth_);
    }
    void TearDown() override
    {
        network_.reset();
        sim_.reset();
    }

    OBJHANDLE byName(const char *name)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof(buffer), "%s", name);
        OBJHANDLE h = oapiGetObjectByName(buffer);
        EXPECT_NE(h, nullptr) << name;
        return h;
    }

    // Position relative to Earth's centre.
    VECTOR3 relativePos(OBJHANDLE h)
    {
        VECTOR3 pos, centre;
        oapiGetGlobalPos(h, &pos);
        oapiGetGlobalPos(earth_, &centre);
        return Minus(pos, centre);
    }

    double distance(OBJHANDLE a, OBJHANDLE b) { return Length(Minus(relativePos(a), relativePos(b))); }

    // A generic vessel at a position relative to Earth's centre.
    OBJHANDLE addTarget(const VECTOR3 &rel)
    {
        auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>("Probe", "Generic"));
        v->makeGenericInterface();
        v->parseLine("STATUS Orbiting Earth");
        char line[160];
        std::snprintf(line, sizeof(line), "RPOS %.6f %.6f %.6f", rel.x, rel.y, rel.z);
        v->parseLine(line);
        v->parseLine("RVEL 0 0 0");
        v->finishLoading(headless::World::instance().mjd());
        return v->handle();
    }

    // A target straight above a node of the network.
    OBJHANDLE addTargetAbove(const char *site, double altitudeMetres)
    {
        return addTarget(Scaled(relativePos(byName(site)), earthRadius_ + altitudeMetres));
    }

    // A target over a point of Earth's surface (degrees).
    OBJHANDLE addTargetOver(double latDeg, double lonDeg, double altitudeMetres)
    {
        VECTOR3 glob;
        oapiEquToGlobal(earth_, Radians(lonDeg), Radians(latDeg), earthRadius_ + altitudeMetres, &glob);
        VECTOR3 centre;
        oapiGetGlobalPos(earth_, &centre);
        return addTarget(Minus(glob, centre));
    }

    // Elevation (deg) of target above a ground site's horizon, from the
    // central angle gamma between them: tan el = (cos gamma - R / r) / sin gamma.
    double elevationDeg(OBJHANDLE site, OBJHANDLE target)
    {
        VECTOR3 s = relativePos(site), t = relativePos(target);
        double gamma = std::acos(Dot(s, t) / (Length(s) * Length(t)));
        return Degrees(std::atan2(std::cos(gamma) - Length(s) / Length(t), std::sin(gamma)));
    }

    QueryResult query(OBJHANDLE target)
    {
        QueryResult r;
        r.linked = network_->trackingNetwork().QueryLink(target, &r.node, &r.type, &r.lagSeconds,
                                                           &r.strengthPercent);
        return r;
    }

    void expectNoLink(const QueryResult &r)
    {
        EXPECT_FALSE(r.linked);
        EXPECT_EQ(r.node, nullptr);
        EXPECT_EQ(r.type, 0);
        EXPECT_EQ(r.lagSeconds, 0.0);
        EXPECT_EQ(r.strengthPercent, 0.0);
    }

    std::unique_ptr<headless::Simulator> sim_;
    std::unique_ptr<tracknet::Network> network_;
    OBJHANDLE earth_ = nullptr;
    double earthRadius_ = 0.0;
};

// --- Tracking stations --------------------------------------------------------

TEST_F(LinkQueryTest, StationOverheadCarriesTheLink)
{
    OBJHANDLE target = addTargetAbove("Carnarvon", 400e3);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(NameOf(r.node), "Carnarvon");
    EXPECT_EQ(r.type, 1);
    EXPECT_NEAR(r.lagSeconds, distance(target, r.node) / kSpeedOfLight, 1e-12);
    EXPECT_NEAR(r.lagSeconds, 400e3 / kSpeedOfLight, 1e-9);
    EXPECT_NEAR(r.strengthPercent, 100.0, 1e-9); // within 1000 km, straight up
}

TEST_F(LinkQueryTest, HighestStationWinsOverOthersInView)
{
    // 1000 km above Bermuda, Merritt Island (earlier in the list) sees the
    // target too, but lower.
    OBJHANDLE target = addTargetAbove("Bermuda", 1000e3);
    double merrittElevation = elevationDeg(byName("Merritt-Island"), target);
    ASSERT_GT(merrittElevation, 5.0);
    ASSERT_LT(merrittElevation, 89.0);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(NameOf(r.node), "Bermuda");
    EXPECT_EQ(r.type, 1);
    EXPECT_NEAR(r.lagSeconds, 1000e3 / kSpeedOfLight, 1e-9);
}

TEST_F(LinkQueryTest, StrengthFallsWithSlantRange)
{
    // 3000 km straight above Carnarvon: three times the stations' 1000 km
    // reference range, so a ninth of full strength.
    OBJHANDLE target = addTargetAbove("Carnarvon", 3000e3);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(NameOf(r.node), "Carnarvon");
    EXPECT_NEAR(r.strengthPercent, 100.0 / 9.0, 1e-6);
}

TEST_F(LinkQueryTest, StrengthFallsTowardsTheHorizon)
{
    // A target at 400 km seen 8 deg above Carnarvon's horizon, and by no
    // other station: 8/15 of the gain, and at that elevation the slant range
    // (about 1570 km) is past the 1000 km reference as well.
    const double r = earthRadius_ + 400e3;
    const double elevation = Radians(8.0);
    // Central angle of a point at radius r seen at that elevation.
    double gamma = std::acos(earthRadius_ / r * std::cos(elevation)) - elevation;
    // Off Carnarvon towards the west, along the great circle.
    VECTOR3 up = Scaled(relativePos(byName("Carnarvon")), 1.0);
    VECTOR3 east = Scaled(_V(-up.y, up.x, 0.0), 1.0);
    OBJHANDLE target = addTarget((up * std::cos(gamma) - east * std::sin(gamma)) * r);
    ASSERT_NEAR(elevationDeg(byName("Carnarvon"), target), 8.0, 1e-6);

    QueryResult q = query(target);
    ASSERT_TRUE(q.linked);
    EXPECT_EQ(NameOf(q.node), "Carnarvon");
    double range = distance(target, q.node);
    EXPECT_NEAR(range, 1571e3, 2e3);
    EXPECT_NEAR(q.strengthPercent, 100.0 * (1000e3 / range) * (1000e3 / range) * 8.0 / 15.0, 1e-6);
    EXPECT_NEAR(q.lagSeconds, range / kSpeedOfLight, 1e-12);
}

// --- Relays -------------------------------------------------------------------

TEST_F(LinkQueryTest, RelayCarriesTheLinkWhereNoStationSees)
{
    // 400 km over the southern Pacific (40 S, 130 W): the nearest stations,
    // Santiago and Kauai, are 47 and 68 deg away, far beyond the 15 deg a
    // station at 5 deg elevation reaches at that height. TDRS-Spare-West
    // (150 W) is both the closest relay to the target and to White Sands.
    OBJHANDLE target = addTargetOver(-40.0, -130.0, 400e3);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(r.type, 2);
    EXPECT_EQ(NameOf(r.node), "TDRS-Spare-West");

    // The signal goes up to the relay and down to White Sands.
    OBJHANDLE whiteSands = byName("White-Sands");
    double spaceLeg = distance(target, r.node);
    double groundLeg = distance(r.node, whiteSands);
    EXPECT_NEAR(r.lagSeconds, (spaceLeg + groundLeg) / kSpeedOfLight, 1e-12);
    // Up and down through the geostationary altitude: at least 2 x 35786 km.
    EXPECT_GT(r.lagSeconds, 2 * 35786e3 / kSpeedOfLight);
    EXPECT_GT(r.lagSeconds, distance(target, whiteSands) / kSpeedOfLight);

    // 37600 km to the relay, past the 36000 km reference; the relay stands
    // 30 deg above White Sands, so the ground end has full gain.
    ASSERT_GT(elevationDeg(whiteSands, r.node), 15.0);
    EXPECT_NEAR(r.strengthPercent, 100.0 * (36000e3 / spaceLeg) * (36000e3 / spaceLeg), 1e-9);
    EXPECT_GT(r.strengthPercent, 85.0);
    EXPECT_LT(r.strengthPercent, 100.0);
}

TEST_F(LinkQueryTest, RelayWithTheShortestPathNotTheNearest)
{
    // 400 km over the South Atlantic (45 S, 20 W), out of reach of Ascension
    // (37 deg away) and of every other station. TDRS-East (41 W) is the
    // nearest relay, 38036 km away, but 40389 km from White Sands: 78425 km
    // in all. TDRS-Spare-East (62 W) takes 39033 + 38676 = 77709 km.
    OBJHANDLE target = addTargetOver(-45.0, -20.0, 400e3);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(r.type, 2);
    EXPECT_EQ(NameOf(r.node), "TDRS-Spare-East");
    EXPECT_NEAR(r.lagSeconds, 77709e3 / kSpeedOfLight, 5e3 / kSpeedOfLight);
    EXPECT_NEAR(r.lagSeconds,
                (distance(target, r.node) + distance(r.node, byName("White-Sands"))) / kSpeedOfLight, 1e-12);
}

TEST_F(LinkQueryTest, RelayOutOfTheTerminalsViewCarriesNothing)
{
    // A relay over the Indian Ocean (85 E) sees a target there, but it never
    // rises over White Sands, on the other side of the globe.
    OBJHANDLE relay = tracknet::CreateSite("TDRS-Z", tracknet::GeostationaryStatus(earth_, 85.0));
    OBJHANDLE target = addTargetOver(-20.0, 75.0, 400e3);
    ASSERT_LT(elevationDeg(byName("White-Sands"), relay), 0.0);
    tracknet::TrackingNetwork network;
    std::vector<tracknet::NodeRecord> relays = {tracknet::NodeRecord(relay, 85.0, 0.0)};
    network.setNodes({}, relays, {}, byName("White-Sands"));
    EXPECT_EQ(network.linkFor(target).type, 0);

    // With its ground terminal in the relay's view (here: at Tananarive's
    // place), the same relay carries the link.
    OBJHANDLE tananarive = byName("Tananarive");
    ASSERT_GT(elevationDeg(tananarive, relay), 5.0);
    network.setNodes({}, relays, {}, tananarive);
    tracknet::TrackingNetwork::Link link = network.linkFor(target);
    EXPECT_EQ(link.type, 2);
    EXPECT_EQ(link.node, relay);
    EXPECT_NEAR(link.lagSeconds, (distance(target, relay) + distance(relay, tananarive)) / kSpeedOfLight, 1e-12);
}

TEST_F(LinkQueryTest, NoLinkInTheIndianOceanGap)
{
    // 400 km over the Indian Ocean (20 S, 75 E): Tananarive and Carnarvon are
    // 26 and 36 deg away, and every relay is more than 110 deg away, beyond
    // the 101 deg a geostationary satellite sees of a 400 km orbit.
    OBJHANDLE target = addTargetOver(-20.0, 75.0, 400e3);
    ASSERT_LT(elevationDeg(byName("Tananarive"), target), 0.0);
    expectNoLink(query(target));
}

// --- Deep space ---------------------------------------------------------------

TEST_F(LinkQueryTest, LunarDistanceGoesToTheDeepSpaceComplex)
{
    OBJHANDLE target = addTargetAbove("Goldstone", 384400e3 - 6371010.0);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(NameOf(r.node), "Goldstone");
    EXPECT_NEAR(r.lagSeconds, distance(target, r.node) / kSpeedOfLight, 1e-12);
    EXPECT_NEAR(r.lagSeconds, (384400e3 - 6371010.0) / kSpeedOfLight, 1e-9); // 1.261 s
    EXPECT_NEAR(r.strengthPercent, 100.0, 1e-9); // inside the 400000 km reference
}

TEST_F(LinkQueryTest, DeepSpaceChoosesTheComplexThatSeesHighest)
{
    // At lunar distance above Madrid; Goldstone, 82 deg away, sees it too,
    // 7 deg above its horizon.
    OBJHANDLE target = addTargetAbove("Madrid", 384400e3 - 6371010.0);
    ASSERT_GT(elevationDeg(byName("Goldstone"), target), 5.0);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(NameOf(r.node), "Madrid");
}

TEST_F(LinkQueryTest, BeyondNearEarthStationsAndRelaysNoLongerServe)
{
    // 35000 km from Earth's centre above Carnarvon: past the stations' and
    // relays' 30000 km, so Canberra's dish (32 deg away) takes the link.
    OBJHANDLE target = addTargetAbove("Carnarvon", 35000e3 - 6371010.0);
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(NameOf(r.node), "Canberra");
    EXPECT_NEAR(r.lagSeconds, distance(target, r.node) / kSpeedOfLight, 1e-12);

    // Still within 30000 km: the station overhead.
    OBJHANDLE nearer = addTargetAbove("Carnarvon", 29000e3 - 6371010.0);
    EXPECT_EQ(query(nearer).type, 1);
}

TEST_F(LinkQueryTest, NoLinkWhereNoDeepSpaceComplexSees)
{
    // 35000 km from Earth's centre over 60 S, 60 W: Goldstone, Madrid and
    // Canberra are 106, 110 and 82 deg away, all past the 74.5 deg at which
    // a target that high sinks below 5 deg elevation.
    OBJHANDLE target = addTargetOver(-60.0, -60.0, 35000e3 - 6371010.0);
    ASSERT_LT(elevationDeg(byName("Canberra"), target), 5.0);
    expectNoLink(query(target));
}

// --- What is not a target -------------------------------------------------------

TEST_F(LinkQueryTest, NoLinkForWhatIsNotALiveObject)
{
    expectNoLink(query(nullptr));
    int notAnObject = 0;
    expectNoLink(query(&notAnObject));

    OBJHANDLE target = addTargetAbove("Carnarvon", 400e3);
    ASSERT_TRUE(query(target).linked);
    headless::World::instance().deleteVessel(headless::World::instance().vesselFromHandle(target));
    expectNoLink(query(target));
}

TEST_F(LinkQueryTest, SwitchedOffNetworkLinksNothing)
{
    OBJHANDLE target = addTargetAbove("Carnarvon", 400e3);
    network_->setEnabled(false);
    expectNoLink(query(target));
    network_->setEnabled(true);
    EXPECT_TRUE(query(target).linked);
}

TEST_F(LinkQueryTest, OutPointersMayBeNull)
{
    OBJHANDLE target = addTargetAbove("Carnarvon", 400e3);
    EXPECT_TRUE(network_->trackingNetwork().QueryLink(target, nullptr, nullptr, nullptr, nullptr));
    int type = -1;
    EXPECT_TRUE(network_->trackingNetwork().QueryLink(target, nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(type, 1);
}

TEST_F(LinkQueryTest, NodesFollowEarthsRotation)
{
    // Half a sidereal day later Earth has turned half round under a target
    // left where it was, 400 km above Carnarvon: the point below it is now
    // 24.9 S, 66.3 W, over South America, 9 deg from Santiago.
    OBJHANDLE target = addTargetAbove("Carnarvon", 400e3);
    VECTOR3 before = relativePos(target);
    headless::World::instance().setStartMjd(60650.5 + 0.5 * 86164.1 / 86400.0);
    ASSERT_NEAR(Length(Minus(before, relativePos(target))), 0.0, 1e-3); // the target stayed put
    QueryResult r = query(target);
    ASSERT_TRUE(r.linked);
    EXPECT_EQ(NameOf(r.node), "Santiago");
    EXPECT_EQ(r.type, 1);
    // Carnarvon is now 130 deg round the globe, 64 deg below its horizon.
    EXPECT_LT(elevationDeg(byName("Carnarvon"), target), -60.0);
}

} // namespace
