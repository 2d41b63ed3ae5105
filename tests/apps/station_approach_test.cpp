// A stock scenario of the simulator, the station approach (the station at
// its published RPOS and RVEL, a Delta-glider on pad 2 of Habana), with a
// Korvane building added: the control room shows the station's 51.6 deg
// orbit and its mass and fuel, and the preview's report agrees with an
// independent two-body propagation.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "headless/sketchpad_recorder.h"
#include "headless/simulator.h"
#include "headless/world.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

const char kApproach[] = R"(BEGIN_DESC
The station approach, followed from mission control.
END_DESC

BEGIN_ENVIRONMENT
  System Sol
  Date MJD 51982.0975169074
END_ENVIRONMENT

BEGIN_FOCUS
  Ship Korvane-Houston
END_FOCUS

BEGIN_CAMERA
  TARGET ISS
  MODE Extern
  POS 4.50 -130.00 10.00
  TRACKMODE TargetRelative
  FOV 40.00
END_CAMERA

BEGIN_HUD
  TYPE Docking
END_HUD

BEGIN_MFD Left
  TYPE Orbit
  PROJ Ship
  FRAME Equator
  REF Earth
  TARGET ISS
END_MFD

BEGIN_SHIPS
ISS:ProjectAlpha_ISS
  STATUS Orbiting Earth
  RPOS 4770488.27 4245945.37 -2122703.08
  RVEL 5242.970 -5610.802 567.655
  AROT -47.46 2.23 -65.28
  AFCMODE 7
  IDS 0:588 100 1:586 100
  NAVFREQ 0 0
  XPDR 466
END
GL-01:DeltaGlider
  STATUS Landed Earth
  BASE Habana:2
  HEADING 330.00
  PRPLEVEL 0:1.000000 1:1.000000
  NAVFREQ 94 524
  XPDR 0
END
Korvane-Houston:Korvane
  STATUS Landed Earth
  POS -95.0900 29.5593
  HEADING 0.00
  TARGET ISS
END
END_SHIPS
)";

// The recorded drawing on the building's screens whose text includes text.
const headless::SketchpadRecord *RecordWithText(const std::string &text)
{
    const auto &records = headless::Recordings();
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        for (const headless::DrawCall &c : it->calls)
            if (c.op == headless::DrawOp::Text && c.text == text)
                return &*it;
    return nullptr;
}

bool HasText(const headless::SketchpadRecord &record, const std::string &text)
{
    for (const headless::DrawCall &c : record.calls)
        if (c.op == headless::DrawOp::Text && c.text == text)
            return true;
    return false;
}

TEST(StationApproachTest, ControlRoomShowsTheStationsOrbitMassAndFuel)
{
    headless::ClearRecordings();
    headless::Simulator sim(KORVANE_ROOT_DIR);
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(kApproach, &error)) << error;
    sim.openVisuals();
    ASSERT_TRUE(sim.loadCockpit(0));
    for (int k = 0; k < 6; ++k) {
        headless::ClearRecordings();
        sim.frame(1.0);
    }
    // Screen 0 draws the map on the frame in which its interval passes.
    for (int k = 0; k < 4 && !RecordWithText("Target: ISS"); ++k)
        sim.frame(1.0);
    const headless::SketchpadRecord *map = RecordWithText("Target: ISS");
    ASSERT_NE(map, nullptr);

    // The predicted track (green, 37 points a polyline) reaches +-51.6 deg.
    // Its points lie 10 deg of eccentric anomaly apart, so the one nearest a
    // peak may lie up to 5 deg of the orbit from it (asin(sin 51.6 deg cos 5
    // deg) = 51.33 deg), and a point's pixel row of 360 / 1024 deg is cut
    // towards the map's top, moving it up to 0.35 deg north: the track's top
    // lies within 51.33 and 51.95 deg, its bottom within -51.6 and -50.98.
    int top = 512, bottom = 0, polylines = 0;
    for (const headless::DrawCall &c : map->calls) {
        if (c.op != headless::DrawOp::Polyline || c.pen.colour != 0x00FF00u || c.points.size() != 37u)
            continue;
        ++polylines;
        EXPECT_EQ(c.originY, 256);
        for (const oapi::IVECTOR2 &p : c.points) {
            top = std::min(top, static_cast<int>(p.y));
            bottom = std::max(bottom, static_cast<int>(p.y));
        }
    }
    EXPECT_EQ(polylines, 9);
    double north = 90.0 - top * 360.0 / 1024.0, south = 90.0 - bottom * 360.0 / 1024.0;
    EXPECT_GE(north, 51.3);
    EXPECT_LE(north, 51.96);
    EXPECT_LE(south, -50.95);
    EXPECT_GE(south, -51.61);

    // Screen 1: the station's fuel, 860 kg of 860 kg; screen 2: its mass,
    // 420 t empty and the fuel.
    const headless::SketchpadRecord *gauges = RecordWithText("FUEL");
    ASSERT_NE(gauges, nullptr);
    EXPECT_TRUE(HasText(*gauges, "860.0 kg"));
    EXPECT_TRUE(HasText(*gauges, "100.000 %"));
    const headless::SketchpadRecord *telemetry = RecordWithText("Total Mass:");
    ASSERT_NE(telemetry, nullptr);
    EXPECT_TRUE(HasText(*telemetry, "420860.0 kg"));
    sim.closeVisuals();
}

// The simulator's documented rotations about its y and x axes.
void RotateY(double a, double v[3])
{
    double x = std::cos(a) * v[0] - std::sin(a) * v[2], z = std::sin(a) * v[0] + std::cos(a) * v[2];
    v[0] = x;
    v[2] = z;
}
void RotateX(double a, double v[3])
{
    double y = std::cos(a) * v[1] - std::sin(a) * v[2], z = std::sin(a) * v[1] + std::cos(a) * v[2];
    v[1] = y;
    v[2] = z;
}

// Longitude and latitude (deg) on Earth of a position in the simulator's
// global frame, Earth at the origin: p_local = R^T p with R = Ry(theta)
// Rx(eps) Ry(omega), theta the precessing node and omega the rotation angle
// of the model (SidRotOffset plus the sidereal turns since J2000, less the
// node's motion times cos eps); longitude atan2(z, x), latitude asin(y / r).
void EarthCoordinates(const double pos[3], double mjd, double &lngDeg, double &latDeg)
{
    const double eps = 0.4090928023;
    double theta = 2 * kPi * (mjd - 51544.5) / -9413040.4;
    double turns = (mjd - 51544.5) * 86400.0 / 86164.10132;
    double omega = 4.88948754 + 2 * kPi * (turns - std::floor(turns)) - theta * std::cos(eps);
    double v[3] = {pos[0], pos[1], pos[2]};
    RotateY(-theta, v); // R^T = Ry(-omega) Rx(-eps) Ry(-theta), applied right to left
    RotateX(-eps, v);
    RotateY(-omega, v);
    double r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    lngDeg = std::atan2(v[2], v[0]) / kDeg;
    latDeg = std::asin(v[1] / r) / kDeg;
}

// Two-body motion, fourth-order Runge-Kutta with 1 s steps (the frame's
// handedness does not enter: a = -mu r / |r|^3).
void Propagate(double r[3], double v[3], double seconds)
{
    const double mu = 6.67259e-11 * 5.973698968e24;
    auto accel = [mu](const double p[3], double a[3]) {
        double d = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        for (int i = 0; i < 3; ++i)
            a[i] = -mu * p[i] / (d * d * d);
    };
    for (double t = 0; t < seconds; t += 1.0) {
        double k1r[3], k1v[3], k2r[3], k2v[3], k3r[3], k3v[3], k4r[3], k4v[3], p[3];
        for (int i = 0; i < 3; ++i)
            k1r[i] = v[i];
        accel(r, k1v);
        for (int i = 0; i < 3; ++i) {
            k2r[i] = v[i] + 0.5 * k1v[i];
            p[i] = r[i] + 0.5 * k1r[i];
        }
        accel(p, k2v);
        for (int i = 0; i < 3; ++i) {
            k3r[i] = v[i] + 0.5 * k2v[i];
            p[i] = r[i] + 0.5 * k2r[i];
        }
        accel(p, k3v);
        for (int i = 0; i < 3; ++i) {
            k4r[i] = v[i] + k3v[i];
            p[i] = r[i] + k3r[i];
        }
        accel(p, k4v);
        for (int i = 0; i < 3; ++i) {
            r[i] += (k1r[i] + 2 * k2r[i] + 2 * k3r[i] + k4r[i]) / 6.0;
            v[i] += (k1v[i] + 2 * k2v[i] + 2 * k3v[i] + k4v[i]) / 6.0;
        }
    }
}

TEST(StationApproachTest, ReportAgreesWithAnIndependentPropagation)
{
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("korvane-approach-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "approach.scn") << kApproach;
    std::string command = std::string("'") + KORVANE_BINARY_DIR + "/korvane-preview' --root '" + KORVANE_ROOT_DIR +
                          "' --scenario '" + (dir / "approach.scn").string() + "' --duration 600 --out '" +
                          dir.string() + "' --report '" + (dir / "report.json").string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(dir / "report.json");
    nlohmann::json report = nlohmann::json::parse(in);
    std::filesystem::remove_all(dir);

    double mjd = report.at("mjd").get<double>();
    EXPECT_NEAR(mjd, 51982.0975169074 + 600.0 / 86400.0, 1e-9);
    // The scenario's three vessels, then the 22 nodes that the tracking
    // network's plug-in (active in the root) added.
    ASSERT_EQ(report.at("vessels").size(), 3u + 22u);
    EXPECT_EQ(report["vessels"][3].at("class"), "KorvaneSite");
    const nlohmann::json &iss = report["vessels"][0];
    EXPECT_EQ(iss.at("name"), "ISS");
    EXPECT_EQ(iss.at("class"), "ProjectAlpha_ISS");
    EXPECT_EQ(iss.at("status"), "orbiting");
    EXPECT_EQ(iss.at("reference"), "Earth");
    EXPECT_GT(iss.at("mass_kg").get<double>(), 0.0);

    double r[3] = {4770488.27, 4245945.37, -2122703.08}, v[3] = {5242.970, -5610.802, 567.655};
    Propagate(r, v, 600.0);
    double lng = 0.0, lat = 0.0;
    EarthCoordinates(r, mjd, lng, lat);
    EXPECT_LT(std::fabs(std::remainder(iss.at("longitude_deg").get<double>() - lng, 360.0)), 0.2);
    EXPECT_NEAR(iss.at("latitude_deg").get<double>(), lat, 0.2);
    double radius = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    EXPECT_NEAR(iss.at("altitude_m").get<double>(), radius - 6.37101e6, 1.0);
    EXPECT_NEAR(iss.at("speed_mps").get<double>(), std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 0.01);

    // The glider on pad 2 of Habana (23.1136 N 82.3666 W, the pad 120 m east
    // and 80 m north), on the ground, with its class's mass and full tanks.
    const nlohmann::json &glider = report["vessels"][1];
    EXPECT_EQ(glider.at("status"), "landed");
    double padLat = 23.1136 + 80.0 / 6.37101e6 / kDeg;
    EXPECT_NEAR(glider.at("latitude_deg").get<double>(), padLat, 1e-9);
    EXPECT_NEAR(glider.at("longitude_deg").get<double>(), -82.3666 + 120.0 / (6.37101e6 * std::cos(padLat * kDeg)) / kDeg,
                1e-9);
    EXPECT_NEAR(glider.at("altitude_m").get<double>(), 0.0, 1e-6);
    EXPECT_EQ(glider.at("mass_kg").get<double>(), 11000.0 + 10400.0 + 600.0);
    // Standing on a turning Earth: 2 pi R cos(lat) / 86164.10132 s.
    EXPECT_NEAR(glider.at("speed_mps").get<double>(), 2 * kPi * 6.37101e6 * std::cos(padLat * kDeg) / 86164.10132,
                1e-3);
    EXPECT_EQ(report["vessels"][2].at("class"), "Korvane");
}

} // namespace
