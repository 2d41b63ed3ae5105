// Scenario files: the reader's sections and its tolerance of damage, and
// the simulator's loading of classes, modules and odd ships.

#include <sstream>

#include <gtest/gtest.h>

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

    // Very long lines are just long lines.
    std::string longName(100000, 'n');
    f = Parse("BEGIN_SHIPS\n" + longName + ":Generic\n  " + std::string(100000, 'x') + "\nEND\nEND_SHIPS\n", &ok);
    ASSERT_EQ(f.ships.size(), 1u);
    EXPECT_EQ(f.ships[0].name, longName);
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
