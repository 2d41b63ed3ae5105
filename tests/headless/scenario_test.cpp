// Scenario files: the reader's sections and its tolerance of damage, and
// the simulator's loading of classes, modules and odd ships.

#include <sstream>

#include <gtest/gtest.h>

#include "headless/messages.h"
#include "headless/scenario.h"
#include "headless/simulator.h"
#include "headless/world.h"

namespace {

headless::ScenarioFile Parse(const std::string &text, bool *ok = nullptr)
{
    std::istringstream in(text);
    headless::ScenarioFile file;
    std::string error;
    bool result = headless::ParseScenario(in, file, &error);
    if (ok)
        *ok = result;
    return file;
}

TEST(ScenarioReaderTest, SectionsShipsAndLines)
{
    headless::ScenarioFile f = Parse("BEGIN_DESC\r\nA test\r\nEND_DESC\r\n"
                                     "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60650.25\nEND_ENVIRONMENT\n"
                                     "BEGIN_FOCUS\n  Ship B\nEND_FOCUS\n"
                                     "BEGIN_SHIPS\nA:Generic\n  STATUS Landed Earth\n\n  POS 1 2\nEND\n"
                                     "B : Korvane \n  TARGET A\nEND\nEND_SHIPS\n");
    EXPECT_TRUE(f.hasMjd);
    EXPECT_EQ(f.mjd, 60650.25);
    EXPECT_EQ(f.focus, "B");
    ASSERT_EQ(f.ships.size(), 2u);
    EXPECT_EQ(f.ships[0].name, "A");
    EXPECT_EQ(f.ships[0].className, "Generic");
    EXPECT_EQ(f.ships[0].lines, (std::vector<std::string>{"STATUS Landed Earth", "POS 1 2"}));
    EXPECT_EQ(f.ships[1].name, "B");
    EXPECT_EQ(f.ships[1].className, "Korvane");
    ASSERT_EQ(f.description.size(), 1u);
}

TEST(ScenarioReaderTest, DamagedFiles)
{
    bool ok = true;
    Parse("", &ok);
    EXPECT_FALSE(ok); // no ships at all
    Parse("BEGIN_ENVIRONMENT\nDate MJD 1\n", &ok);
    EXPECT_FALSE(ok);

    // A block left open, a header without a class, a bad date, a name that
    // is only a colon: read as far as they make sense.
    headless::ScenarioFile f = Parse("BEGIN_ENVIRONMENT\n  Date MJD nonsense\nEND_ENVIRONMENT\n"
                                     "BEGIN_SHIPS\nLonely\n  STATUS Landed Earth\n:Generic\nEND\nEND_SHIPS\n",
                                     &ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(f.hasMjd);
    ASSERT_EQ(f.ships.size(), 1u);
    EXPECT_EQ(f.ships[0].name, "Lonely");
    EXPECT_EQ(f.ships[0].className, "");
    EXPECT_EQ(f.ships[0].lines.size(), 2u);

    // No END before END_SHIPS.
    f = Parse("BEGIN_SHIPS\nA:Generic\n  POS 1 2\nEND_SHIPS\n", &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(f.ships.size(), 1u);

    // Lines of up to 4096 characters are read; a longer line is skipped
    // with a message, and a ship header that long takes its block with it.
    headless::MessageCapture messages;
    std::string longest(4096 - 8, 'n');
    f = Parse("BEGIN_SHIPS\n" + longest + ":Generic\n  " + std::string(4097, 'x') + "\n  POS 1 2\nEND\n" +
                  std::string(100000, 'n') + ":Generic\n  STATUS Landed Earth\nEND\nB:Generic\nEND\nEND_SHIPS\n",
              &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(f.ships.size(), 2u);
    EXPECT_EQ(f.ships[0].name, longest);
    EXPECT_EQ(f.ships[0].lines, (std::vector<std::string>{"POS 1 2"}));
    EXPECT_EQ(f.ships[1].name, "B");
    EXPECT_EQ(messages.lines().size(), 2u);
    EXPECT_TRUE(messages.contains("scenario line 3 is longer than 4096 characters"));
}

TEST(ScenarioReaderTest, OtherSectionsAreKeptInOrder)
{
    headless::ScenarioFile f = Parse("BEGIN_CAMERA\n  TARGET GL-01\n  FOV 50.00\nEND_CAMERA\n"
                                     "BEGIN_MFD Left\n  TYPE Orbit\n\n  REF Earth\nEND_MFD\n"
                                     "BEGIN_SHIPS\nA:Generic\nEND\nEND_SHIPS\n"
                                     "BEGIN_ExtMFD\nEND\n");
    ASSERT_EQ(f.sections.size(), 3u);
    EXPECT_EQ(f.sections[0].name, "CAMERA");
    EXPECT_EQ(f.sections[0].lines, (std::vector<std::string>{"TARGET GL-01", "FOV 50.00"}));
    EXPECT_EQ(f.sections[1].header, "BEGIN_MFD Left");
    EXPECT_EQ(f.sections[1].name, "MFD");
    EXPECT_EQ(f.sections[1].lines, (std::vector<std::string>{"TYPE Orbit", "REF Earth"}));
    EXPECT_FALSE(f.sections[1].afterShips);
    EXPECT_TRUE(f.sections[2].afterShips);
    EXPECT_EQ(headless::SectionText(f.sections[1]), "BEGIN_MFD Left\n  TYPE Orbit\n  REF Earth\nEND_MFD\n");
    EXPECT_EQ(headless::FindSection(f.sections, "camera"), &f.sections[0]);
    EXPECT_EQ(headless::FindSection(f.sections, "HUD"), nullptr);
}

TEST(ScenarioReaderTest, VesselsBeyondTheLimitAreSkipped)
{
    headless::MessageCapture messages;
    std::string text = "BEGIN_SHIPS\n";
    for (size_t i = 0; i < headless::kMaxScenarioVessels + 2; ++i)
        text += "V" + std::to_string(i) + ":Generic\n  POS 1 2\nEND\n";
    text += "END_SHIPS\n";
    headless::ScenarioFile f = Parse(text);
    ASSERT_EQ(f.ships.size(), 10000u);
    EXPECT_EQ(f.ships.back().name, "V9999");
    EXPECT_EQ(f.ships.back().lines.size(), 1u);
    EXPECT_EQ(messages.lines().size(), 1u);
    EXPECT_TRUE(messages.contains("more than 10000 vessels"));
}

TEST(SimulatorLoadTest, ClassesModulesAndOddShips)
{
    headless::Simulator sim("/nonexistent-korvane-root");
    std::string error;
    // Unknown classes (no configuration) are generic vessels; a duplicate
    // name is skipped; focus falls back to the first vessel.
    ASSERT_TRUE(sim.loadScenarioText("BEGIN_SHIPS\nA:NoSuchClass\n  STATUS Landed Earth\nEND\n"
                                     "A:Generic\nEND\nB:../../etc/passwd\nEND\nEND_SHIPS\n",
                                     &error))
        << error;
    EXPECT_EQ(headless::World::instance().vessels().size(), 2u);
    ASSERT_NE(sim.focus(), nullptr);
    EXPECT_EQ(sim.focus()->name(), "A");
    EXPECT_FALSE(sim.loadScenario("Scenarios/missing.scn", &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

TEST(SimulatorLoadTest, ModuleThatCannotBeLoadedIsAnError)
{
    // The class names a module whose library is not there.
    char dir[] = "/tmp/korvane-root-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string root = dir;
    ASSERT_EQ(std::system(("mkdir -p " + root + "/Config/Vessels && printf 'Module = Ghost\\n' > " + root +
                           "/Config/Vessels/Ghost.cfg")
                              .c_str()),
              0);
    {
        headless::Simulator sim(root);
        std::string error;
        EXPECT_FALSE(sim.loadScenarioText("BEGIN_SHIPS\nG:Ghost\nEND\nEND_SHIPS\n", &error));
        EXPECT_NE(error.find("Ghost"), std::string::npos);
    }
    EXPECT_EQ(std::system(("rm -rf " + root).c_str()), 0);
}

} // namespace
