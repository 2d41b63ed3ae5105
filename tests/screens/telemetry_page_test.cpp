// The telemetry page: labels, the target's values in their formats and
// places, and the frames around the groups.

#include <cmath>
#include <cstdio>
#include <string>

#include "headless/surfaces.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "screens/telemetry_page.h"
#include "test_support.h"

namespace {

using headless::DrawOp;
using testsupport::FindText;
using testsupport::LastCallsOn;
using testsupport::Only;

constexpr double kDeg = 57.29577951308232;

class TelemetryPageTest : public testsupport::ScreenTest {
protected:
    static std::string Printed(const char *format, double v)
    {
        char buf[128];
        std::snprintf(buf, sizeof(buf), format, v);
        return buf;
    }
    std::vector<headless::DrawCall> drawPage() { return drawScreen(2); }
};

TEST_F(TelemetryPageTest, WithoutATargetOnlyTheLabelsAreWritten)
{
    std::vector<headless::DrawCall> calls = drawPage();
    std::vector<headless::DrawCall> texts = Only(calls, DrawOp::Text);
    ASSERT_EQ(texts.size(), 34u); // 18 left rows, 16 right rows, empty ones too
    for (int k = 0; k < 18; ++k) {
        EXPECT_EQ(texts[static_cast<size_t>(k)].x0, 40);
        EXPECT_EQ(texts[static_cast<size_t>(k)].y0, 92 + 46 * k);
    }
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(texts[static_cast<size_t>(18 + k)].x0, 512);
        EXPECT_EQ(texts[static_cast<size_t>(18 + k)].y0, 92 + 46 * k);
    }
    EXPECT_EQ(texts[0].text, "Planet Relative Attitude");
    EXPECT_EQ(texts[7].text, "");
    EXPECT_EQ(texts[17].text, "Total Mass:");
    EXPECT_EQ(texts[18].text, "Absolute Attitude");
    EXPECT_EQ(texts[18 + 14].text, "Dynamic Pressure:");
    EXPECT_EQ(texts[18 + 15].text, "Density:");
    for (const auto &t : texts) {
        EXPECT_EQ(t.textColour, 0xCC6600u); // RGB(0, 102, 204)
        EXPECT_EQ(t.font.tool, building->fontMedium);
    }
    EXPECT_EQ(Only(calls, DrawOp::Rectangle).size(), 1u); // just the clearing
}

TEST_F(TelemetryPageTest, ValuesOfAnOrbitingTarget)
{
    Vessel *station = addVessel("Station", {"STATUS Orbiting Earth", "RPOS 6771010 0 1000", "RVEL 0 5400 5400",
                                            "AROT 10 -35 80", "VROT 1 -2 3", "EMPTYMASS 400000",
                                            "TANK 30000 25000"});
    ASSERT_TRUE(building->setTargetByName("Station"));
    std::vector<headless::DrawCall> calls = drawPage();
    VESSEL *v = station->iface;

    auto expectAt = [&](const std::string &text, int x, int y) {
        const headless::DrawCall *found = nullptr;
        for (const auto &c : calls)
            if (c.op == DrawOp::Text && c.text == text && c.x0 == x && c.y0 == y)
                found = &c;
        ASSERT_NE(found, nullptr) << text << " at " << x << ", " << y;
        EXPECT_EQ(found->textColour, 0xFFFF00u) << text; // RGB(0, 255, 255)
    };
    expectAt(Printed("%.2f deg", v->GetPitch() * kDeg), 256, 138);
    expectAt(Printed("%.2f deg", v->GetBank() * kDeg), 256, 184);
    expectAt(Printed("%.2f deg", v->GetYaw() * kDeg), 256, 230);
    // The angular velocity: two decimals for x and y, three for z.
    expectAt("x: 1.00 deg/s y: -2.00 deg/s z: 3.000 deg/s", 40, 506);
    expectAt(Printed("%.2f m/s", v->GetAirspeed()), 256, 644);
    expectAt(Printed("%.2f m/s", v->GetGroundspeed()), 256, 690);
    expectAt(Printed("%.2f ", v->GetMachNumber()), 256, 736); // the format ends in a blank
    // |r| - R = sqrt(6771010^2 + 1000^2) - 6371010
    double alt = std::sqrt(6771010.0 * 6771010.0 + 1e6) - 6371010.0;
    expectAt(Printed("%.3f km MnRad", alt * 0.001), 256, 828);
    expectAt("425000.0 kg", 256, 874);
    // AROT in, Euler angles out.
    expectAt("10.000 deg", 665, 138);
    expectAt("-35.000 deg", 665, 184);
    expectAt("80.000 deg", 665, 230);
    expectAt(Printed("%.1f deg C", v->GetAtmTemperature() - 273.15), 768, 644);
    expectAt("0.00 Kg/m3", 768, 782);

    // The values come after the labels; then the six frames in grey.
    EXPECT_GT(testsupport::IndexOf(calls, DrawOp::Text, "425000.0 kg"),
              testsupport::IndexOf(calls, DrawOp::Text, "Density:"));
    std::vector<headless::DrawCall> rects = Only(calls, DrawOp::Rectangle);
    ASSERT_EQ(rects.size(), 7u);
    const int frames[6][4] = {{30, 80, 460, 402},  {486, 80, 921, 264}, {30, 455, 665, 552},
                              {30, 598, 486, 782}, {30, 821, 486, 920}, {501, 598, 972, 816}};
    for (int i = 0; i < 6; ++i) {
        const headless::DrawCall &r = rects[static_cast<size_t>(i + 1)];
        EXPECT_EQ(r.x0, frames[i][0]);
        EXPECT_EQ(r.y0, frames[i][1]);
        EXPECT_EQ(r.x1, frames[i][2]);
        EXPECT_EQ(r.y1, frames[i][3]);
        EXPECT_EQ(r.pen.tool, building->penGrey);
        EXPECT_EQ(r.brush.tool, nullptr);
    }
}

TEST_F(TelemetryPageTest, AltitudeSwitchesToGroundAtTenKilometres)
{
    // Exactly 10000 m above the mean radius of 6371010 m.
    addVessel("Low", {"STATUS Orbiting Earth", "RPOS 6381010 0 0", "RVEL 0 7900 0"});
    addVessel("Higher", {"STATUS Orbiting Earth", "RPOS 6381010.5 0 0", "RVEL 0 7900 0"});
    ASSERT_TRUE(building->setTargetByName("Low"));
    EXPECT_NE(FindText(drawPage(), "10.000 km Gnd"), nullptr);
    ASSERT_TRUE(building->setTargetByName("Higher"));
    EXPECT_NE(FindText(drawPage(), Printed("%.3f km MnRad", 10000.5 * 0.001)), nullptr);
}

TEST_F(TelemetryPageTest, LandedTargetInTheWestAndSouthWithAtmosphere)
{
    // -0.5 rad of longitude, -0.25 rad of latitude.
    addVessel("Rover", {"STATUS Landed Earth", "POS -28.64788975654116 -14.32394487827058"});
    ASSERT_TRUE(building->setTargetByName("Rover"));
    std::vector<headless::DrawCall> calls = drawPage();
    EXPECT_NE(FindText(calls, "28.648 W"), nullptr);
    EXPECT_NE(FindText(calls, "14.324 S"), nullptr);
    EXPECT_NE(FindText(calls, "0.000 km Gnd"), nullptr);
    // Sea level of the standard atmosphere: 15 deg C, 101325 Pa, 1.225 kg/m3.
    EXPECT_NE(FindText(calls, "15.0 deg C"), nullptr);
    EXPECT_NE(FindText(calls, "101325.00 Pa"), nullptr);
    EXPECT_NE(FindText(calls, "1.23 Kg/m3"), nullptr);
}

TEST_F(TelemetryPageTest, HemisphereLettersAtZeroAndBelow)
{
    char text[64];
    korvane::FormatLongitude(0.0, text, sizeof(text));
    EXPECT_STREQ(text, "0.000 E");
    korvane::FormatLatitude(0.0, text, sizeof(text));
    EXPECT_STREQ(text, "0.000 N");
    korvane::FormatLongitude(-0.5, text, sizeof(text));
    EXPECT_STREQ(text, "28.648 W");
    korvane::FormatLatitude(-1.0, text, sizeof(text));
    EXPECT_STREQ(text, "57.296 S");
    korvane::FormatLongitude(3.0, text, sizeof(text));
    EXPECT_STREQ(text, "171.887 E");
}

TEST_F(TelemetryPageTest, DeletedTargetLeavesOnlyTheLabels)
{
    Vessel *station = addVessel("Station", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7700 0"});
    ASSERT_TRUE(building->setTargetByName("Station"));
    headless::World::instance().deleteVessel(station);
    std::vector<headless::DrawCall> calls = drawPage();
    EXPECT_EQ(Only(calls, DrawOp::Text).size(), 34u);
}

} // namespace
