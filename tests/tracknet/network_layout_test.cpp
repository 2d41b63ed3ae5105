// The network as a building reads it: raw bytes at fixed offsets from each
// object's base, and two virtual methods called through class declarations
// of the building's own, which know nothing of the network's classes.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "session.h"
#include "tracknet/network.h"

namespace tracknet_test {

// What a building declares to call the network: so many slots before the
// method, no destructor among them. They have external linkage on purpose:
// for a class in an unnamed namespace the compiler sees every override there
// can be (none) and binds the call to the pure virtual itself.
class ContextBoundary {
public:
    virtual void slot0() = 0;
    virtual void slot1() = 0;
    virtual void slot2() = 0;
    virtual void slot3() = 0;
    virtual void slot4() = 0;
    virtual void slot5() = 0;
    virtual void slot6() = 0;
    virtual void slot7() = 0;
    virtual void slot8() = 0;
    virtual void slot9() = 0;
    virtual void slot10() = 0;
    virtual void slot11() = 0;
    virtual void slot12() = 0;
    virtual void slot13() = 0;
    virtual void slot14() = 0;
    virtual OBJHANDLE GetPlanet() = 0;
};

class NetworkBoundary {
public:
    virtual void slot0() = 0;
    virtual bool QueryLink(OBJHANDLE target, OBJHANDLE *node, int *type, double *lag, double *strength) = 0;
};

} // namespace tracknet_test

namespace {

using tracknet_test::ContextBoundary;
using tracknet_test::NetworkBoundary;

// The calls a building makes. The objects behind the pointers are of the
// network's own classes, not of the boundary declarations, which is exactly
// what the sanitizer's dynamic-type check objects to; only the virtual-table
// layout is shared.
__attribute__((no_sanitize("vptr"))) OBJHANDLE CallGetPlanet(void *context)
{
    return static_cast<ContextBoundary *>(context)->GetPlanet();
}

__attribute__((no_sanitize("vptr"))) bool CallQueryLink(const void *network, OBJHANDLE target, OBJHANDLE *node,
                                                        int *type, double *lag, double *strength)
{
    return static_cast<NetworkBoundary *>(const_cast<void *>(network))->QueryLink(target, node, type, lag, strength);
}

template <typename T>
T ReadAt(const void *base, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const unsigned char *>(base) + offset, sizeof(T));
    return value;
}

std::string NameOf(OBJHANDLE h)
{
    char name[64];
    oapiGetObjectName(h, name, sizeof(name));
    return name;
}

constexpr double kPi = 3.14159265358979323846;
constexpr size_t kRecordBytes = 88;

struct Place {
    double lonDeg;
    double latDeg;
};

class NetworkLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_ = tracknet_test::StartSession(tracknet_test::kEmptyScenario, false);
        network_ = tracknet::Network::Create();
        network_->attachNodes();
        char name[] = "Earth";
        earth_ = oapiGetObjectByName(name);
    }
    void TearDown() override
    {
        network_.reset();
        sim_.reset();
    }

    const unsigned char *contextBytes() { return static_cast<const unsigned char *>(network_->context()); }
    const unsigned char *networkBytes() { return ReadAt<const unsigned char *>(contextBytes(), 424); }

    // Where the host puts the object now (degrees).
    Place whereIs(OBJHANDLE h)
    {
        VECTOR3 pos;
        oapiGetGlobalPos(h, &pos);
        double lng, lat, rad;
        oapiGlobalToEqu(earth_, pos, &lng, &lat, &rad);
        return Place{lng * 180.0 / kPi, lat * 180.0 / kPi};
    }

    // Every record of a list, by the name of its object.
    std::map<std::string, Place> readList(size_t pointerOffset, size_t countOffset, int expectedType)
    {
        std::map<std::string, Place> places;
        const unsigned char *first = ReadAt<const unsigned char *>(networkBytes(), pointerOffset);
        uint32_t count = ReadAt<uint32_t>(networkBytes(), countOffset);
        for (uint32_t i = 0; i < count; ++i) {
            const unsigned char *record = first + i * kRecordBytes;
            OBJHANDLE object = ReadAt<OBJHANDLE>(record, 80);
            EXPECT_EQ(oapiGetObjectType(object), expectedType) << NameOf(object);
            Place stored{ReadAt<double>(record, 32), ReadAt<double>(record, 40)};
            // The stored place is where the object really is.
            Place actual = whereIs(object);
            EXPECT_NEAR(actual.lonDeg, stored.lonDeg, 1e-9) << NameOf(object);
            EXPECT_NEAR(actual.latDeg, stored.latDeg, 1e-9) << NameOf(object);
            // No byte outside the three fields is used.
            for (size_t b = 0; b < kRecordBytes; ++b) {
                bool inField = (b >= 32 && b < 48) || (b >= 80 && b < 80 + sizeof(void *));
                if (!inField) {
                    EXPECT_EQ(record[b], 0) << NameOf(object) << " byte " << b;
                }
            }
            places[NameOf(object)] = stored;
        }
        EXPECT_EQ(places.size(), count) << "every node is a distinct, named object";
        return places;
    }

    // A generic vessel at a position relative to Earth's centre.
    OBJHANDLE addTarget(const char *name, const VECTOR3 &rel)
    {
        auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, "Generic"));
        v->makeGenericInterface();
        v->parseLine("STATUS Orbiting Earth");
        char line[160];
        std::snprintf(line, sizeof(line), "RPOS %.6f %.6f %.6f", rel.x, rel.y, rel.z);
        v->parseLine(line);
        v->parseLine("RVEL 0 0 0");
        v->finishLoading(headless::World::instance().mjd());
        return v->handle();
    }

    std::unique_ptr<headless::Simulator> sim_;
    std::unique_ptr<tracknet::Network> network_;
    OBJHANDLE earth_ = nullptr;
};

TEST_F(NetworkLayoutTest, ContextPointsAtTheNetwork)
{
    EXPECT_EQ(networkBytes(), reinterpret_cast<const unsigned char *>(&network_->trackingNetwork()));
    EXPECT_EQ(networkBytes()[149], 1) << "switched on";
}

TEST_F(NetworkLayoutTest, CountsOfTheThreeLists)
{
    EXPECT_EQ(ReadAt<uint32_t>(networkBytes(), 144), 14u); // tracking stations
    EXPECT_EQ(ReadAt<uint32_t>(networkBytes(), 136), 4u);  // relays
    EXPECT_EQ(ReadAt<uint32_t>(networkBytes(), 140), 3u);  // deep-space complexes
}

TEST_F(NetworkLayoutTest, DeepSpaceRecordsHoldTheComplexes)
{
    std::map<std::string, Place> dsn = readList(36, 140, OBJTP_VESSEL);
    ASSERT_EQ(dsn.size(), 3u);
    EXPECT_NEAR(dsn["Goldstone"].latDeg, 35.4267, 1e-9);
    EXPECT_NEAR(dsn["Goldstone"].lonDeg, -116.8900, 1e-9);
    EXPECT_NEAR(dsn["Madrid"].latDeg, 40.4314, 1e-9);
    EXPECT_NEAR(dsn["Madrid"].lonDeg, -4.2481, 1e-9);
    EXPECT_NEAR(dsn["Canberra"].latDeg, -35.4014, 1e-9);
    EXPECT_NEAR(dsn["Canberra"].lonDeg, 148.9817, 1e-9);
}

TEST_F(NetworkLayoutTest, StationRecordsHoldTheTrackingStations)
{
    std::map<std::string, Place> stations = readList(12, 144, OBJTP_VESSEL);
    ASSERT_EQ(stations.size(), 14u);
    // A few of the sites, to a tenth of a degree.
    EXPECT_NEAR(stations["Merritt-Island"].latDeg, 28.5, 0.1);
    EXPECT_NEAR(stations["Merritt-Island"].lonDeg, -80.7, 0.1);
    EXPECT_NEAR(stations["Carnarvon"].latDeg, -24.9, 0.1);
    EXPECT_NEAR(stations["Carnarvon"].lonDeg, 113.7, 0.1);
    EXPECT_NEAR(stations["Ascension"].latDeg, -7.95, 0.1);
    EXPECT_NEAR(stations["Ascension"].lonDeg, -14.3, 0.1);
    EXPECT_NEAR(stations["Guam"].latDeg, 13.3, 0.1);
    EXPECT_NEAR(stations["Guam"].lonDeg, 144.7, 0.1);
    // None of them doubles as a deep-space complex or the relay terminal.
    EXPECT_EQ(stations.count("Goldstone"), 0u);
    EXPECT_EQ(stations.count("White-Sands"), 0u);
}

TEST_F(NetworkLayoutTest, RelayRecordsHoldSubSatellitePoints)
{
    std::map<std::string, Place> relays = readList(24, 136, OBJTP_VESSEL);
    ASSERT_EQ(relays.size(), 4u);
    EXPECT_NEAR(relays["TDRS-East"].lonDeg, -41.0, 1e-9);
    EXPECT_NEAR(relays["TDRS-West"].lonDeg, -171.0, 1e-9);
    for (const auto &relay : relays)
        EXPECT_EQ(relay.second.latDeg, 0.0) << relay.first;
    // The relays' ground terminal is a vessel of its own, in no list.
    char terminal[] = "White-Sands";
    OBJHANDLE whiteSands = oapiGetObjectByName(terminal);
    ASSERT_NE(whiteSands, nullptr);
    EXPECT_EQ(oapiGetObjectType(whiteSands), OBJTP_VESSEL);
    EXPECT_NEAR(whereIs(whiteSands).latDeg, 32.5007, 1e-9);
    EXPECT_NEAR(whereIs(whiteSands).lonDeg, -106.6086, 1e-9);
}

TEST_F(NetworkLayoutTest, UnclaimedNetworkBytesAreZero)
{
    for (size_t b = sizeof(void *); b < 150; ++b) {
        bool inField = (b >= 12 && b < 12 + sizeof(void *)) || (b >= 24 && b < 24 + sizeof(void *)) ||
                       (b >= 36 && b < 36 + sizeof(void *)) || (b >= 136 && b < 148) || b == 149;
        if (!inField) {
            EXPECT_EQ(networkBytes()[b], 0) << "byte " << b;
        }
    }
    for (size_t b = sizeof(void *); b < 424; ++b)
        EXPECT_EQ(contextBytes()[b], 0) << "context byte " << b;
}

TEST_F(NetworkLayoutTest, GetPlanetThroughTheBoundary)
{
    EXPECT_EQ(CallGetPlanet(network_->context()), earth_);
    EXPECT_EQ(oapiGetObjectType(CallGetPlanet(network_->context())), OBJTP_PLANET);
}

TEST_F(NetworkLayoutTest, QueryLinkThroughTheBoundary)
{
    // 400 km above Carnarvon.
    char carnarvonName[] = "Carnarvon";
    OBJHANDLE carnarvon = oapiGetObjectByName(carnarvonName);
    VECTOR3 site, centre;
    oapiGetGlobalPos(carnarvon, &site);
    oapiGetGlobalPos(earth_, &centre);
    VECTOR3 up = _V(site.x - centre.x, site.y - centre.y, site.z - centre.z);
    double scale = (oapiGetSize(earth_) + 400e3) / std::sqrt(up.x * up.x + up.y * up.y + up.z * up.z);
    OBJHANDLE target = addTarget("Probe", _V(up.x * scale, up.y * scale, up.z * scale));

    OBJHANDLE node = nullptr;
    int type = -1;
    double lag = -1.0, strength = -1.0;
    ASSERT_TRUE(CallQueryLink(networkBytes(), target, &node, &type, &lag, &strength));
    EXPECT_EQ(node, carnarvon);
    EXPECT_EQ(type, 1);
    EXPECT_NEAR(lag, 400e3 / 299792458.0, 1e-9);
    EXPECT_NEAR(strength, 100.0, 1e-9);
}

TEST_F(NetworkLayoutTest, SwitchedOffNetworkReadsZero)
{
    network_->setEnabled(false);
    EXPECT_EQ(networkBytes()[149], 0);
    EXPECT_FALSE(network_->enabled());
    network_->setEnabled(true);
    EXPECT_EQ(networkBytes()[149], 1);
    // The switch leaves its neighbours alone.
    EXPECT_EQ(networkBytes()[148], 0);
    EXPECT_EQ(ReadAt<uint32_t>(networkBytes(), 144), 14u);
}

} // namespace
