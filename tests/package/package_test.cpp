// The package a user unzips into the simulator's folder, and the rule that
// the add-on never brings a file the simulator ships itself: tools/package
// is run, its zip unpacked and its tree checked against addon/ and against
// the simulator's own file list.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Every file under a folder, as paths relative to it with slashes.
std::set<std::string> FilesUnder(const fs::path &root)
{
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.insert(entry.path().lexically_relative(root).generic_string());
    return files;
}

// The simulator's own files, lower case (simulator-files.txt of its SDK
// folder, which sits beside the repository).
std::set<std::string> SimulatorFiles()
{
    std::set<std::string> files;
    std::ifstream in(fs::path(KORVANE_ORBITER_SDK_DIR) / "simulator-files.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            files.insert(Lower(line));
    }
    return files;
}

// A path names one of our own files if one of its parts starts with "Korvane".
bool UnderOurName(const std::string &path)
{
    for (const auto &part : fs::path(path))
        if (part.string().rfind("Korvane", 0) == 0)
            return true;
    return false;
}

void ExpectNoClash(const std::set<std::string> &files, const std::set<std::string> &simulator, const char *where)
{
    for (const std::string &file : files) {
        EXPECT_EQ(simulator.count(Lower(file)), 0u) << where << ": " << file << " is one of the simulator's files";
        EXPECT_TRUE(UnderOurName(file)) << where << ": " << file << " is not under a name of the add-on's own";
    }
}

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        work = fs::temp_directory_path() / ("korvane-package-" + std::to_string(::getpid()));
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override { fs::remove_all(work); }

    // Runs tools/package with the arguments; its exit status, its output in *output.
    int Package(const std::string &arguments, std::string *output)
    {
        const fs::path log = work / "package.log";
        std::string command = std::string(KORVANE_SOURCE_DIR) + "/tools/package --out '" + (work / "dist").string() +
                              "' " + arguments + " > '" + log.string() + "' 2>&1";
        int status = std::system(command.c_str());
        *output = Contents(log);
        return status;
    }

    // Unpacks the zip into a fresh folder and returns the folder.
    fs::path Unpack(const std::string &name)
    {
        const fs::path into = work / name;
        fs::create_directories(into);
        std::string command = "cd '" + into.string() + "' && '" + KORVANE_CMAKE_COMMAND + "' -E tar xf '" +
                              (work / "dist" / "Korvane-0.2.0.zip").string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return into;
    }

    fs::path work;
};

TEST(AddOnTreeTest, NoAddOnFileIsOneOfTheSimulatorsFiles)
{
    const std::set<std::string> simulator = SimulatorFiles();
    ASSERT_GT(simulator.size(), 1000u) << "the simulator's file list is missing: " << KORVANE_ORBITER_SDK_DIR;
    // The list does hold the coastline file the simulator's Map MFD reads.
    EXPECT_EQ(simulator.count("config/earth/data/coast.vec"), 1u);
    const std::set<std::string> addon = FilesUnder(fs::path(KORVANE_SOURCE_DIR) / "addon");
    ASSERT_FALSE(addon.empty());
    ExpectNoClash(addon, simulator, "addon/");
}

TEST_F(PackageTest, PackageWithoutTheModuleSaysSoAndHoldsTheAddOnAndItsGuide)
{
    std::string output;
    ASSERT_EQ(Package("", &output), 0) << output;
    EXPECT_NE(output.find("no Modules/Korvane.dll"), std::string::npos) << output;
    EXPECT_NE(output.find("no Modules/Plugin/KorvaneNet.dll"), std::string::npos) << output;
    const fs::path tree = Unpack("plain");
    const std::set<std::string> files = FilesUnder(tree);

    // Laid out like an installation: what addon/ holds, and the guide.
    const fs::path addon = fs::path(KORVANE_SOURCE_DIR) / "addon";
    std::set<std::string> expected = FilesUnder(addon);
    for (const char *required :
         {"Config/Vessels/Korvane.cfg", "Config/Vessels/KorvaneSite.cfg", "Meshes/Korvane/Site.msh",
          "Meshes/Korvane/Korvane.msh", "Meshes/Korvane/building.msh",
          "Meshes/Korvane/ScreenUpd0.msh", "Meshes/Korvane/ScreenUpd1.msh", "Meshes/Korvane/ScreenUpd2.msh",
          "Meshes/Korvane/Flight_Dir_Screen.msh", "Scenarios/Korvane/Default.scn"})
        EXPECT_EQ(expected.count(required), 1u) << required;
    expected.insert("Doc/Korvane/Korvane.md");
    expected.insert("Doc/Korvane/controlroom.png");
    EXPECT_EQ(files, expected);
    EXPECT_EQ(files.count("Modules/Korvane.dll"), 0u);
    for (const std::string &file : FilesUnder(addon))
        EXPECT_EQ(Contents(tree / file), Contents(addon / file)) << file;
    EXPECT_EQ(Contents(tree / "Doc/Korvane/controlroom.png"),
              Contents(fs::path(KORVANE_SOURCE_DIR) / "docs/controlroom.png"));
    // The guide shows the picture that comes with it.
    EXPECT_NE(Contents(tree / "Doc/Korvane/Korvane.md").find("](controlroom.png)"), std::string::npos);

    ExpectNoClash(files, SimulatorFiles(), "package");
}

TEST_F(PackageTest, TheGivenModulesBecomeTheirDllsAndAMissingOneIsRefused)
{
    const fs::path dll = work / "built.dll", netDll = work / "net.dll";
    std::ofstream(dll, std::ios::binary) << "MZ stand-in module";
    std::ofstream(netDll, std::ios::binary) << "MZ stand-in plug-in";
    std::string output;
    ASSERT_EQ(Package("--dll '" + dll.string() + "' --net-dll '" + netDll.string() + "'", &output), 0) << output;
    EXPECT_EQ(output.find("no Modules/"), std::string::npos) << output;
    const fs::path tree = Unpack("with-dll");
    EXPECT_EQ(Contents(tree / "Modules/Korvane.dll"), "MZ stand-in module");
    EXPECT_EQ(Contents(tree / "Modules/Plugin/KorvaneNet.dll"), "MZ stand-in plug-in");
    ExpectNoClash(FilesUnder(tree), SimulatorFiles(), "package");

    // A module path that is not there: no package at all.
    for (const char *option : {"--dll", "--net-dll"}) {
        fs::remove_all(work / "dist");
        EXPECT_NE(Package(std::string(option) + " '" + (work / "missing.dll").string() + "'", &output), 0) << option;
        EXPECT_FALSE(fs::exists(work / "dist" / "Korvane-0.2.0.zip")) << option;
    }
}

} // namespace
