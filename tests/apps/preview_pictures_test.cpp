// The preview's clicks through its 3D picture of the default scenario: a
// click on the pixel where each MFD's select button is seen from the seat
// operates that MFD, a click between two buttons operates nothing, and the
// pictures asked for are written.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs 10 s of the default scenario into dir/name; what it printed.
std::string RunPreview(const fs::path &dir, const std::string &name, const std::string &arguments)
{
    std::string command = std::string("'") + KORVANE_BINARY_DIR + "/korvane-preview' --root '" + KORVANE_ROOT_DIR +
                          "' --duration 10 --out '" + (dir / name).string() + "' " + arguments + " > '" +
                          (dir / (name + ".txt")).string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadFile(dir / (name + ".txt"));
}

TEST(PreviewPicturesTest, ClicksThroughTheSeatsViewOperateTheMfdsSeenThere)
{
    const fs::path dir = fs::temp_directory_path() / ("korvane-pictures-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    RunPreview(dir, "still", "--no-3d");
    EXPECT_FALSE(fs::exists(dir / "still" / "controlroom.png"));
    // The select buttons' click-zone centres, (-0.685202, -1.958942,
    // -5.380787) and (0.585066, -1.958942, -5.380862), seen from the seat
    // (0, -1.55, -7) at 40 degrees in 1920 x 1080: x = 960 + dx / dz /
    // 0.64706 x 960, y = 540 + dy / dz / 0.36397 x 540 give (332.2, 914.7)
    // and (1496.1, 914.7). Half-way between the left select and menu
    // buttons, 0.0445 m from each (beyond their 0.0234 m): (375.7, 912.1).
    std::string out = RunPreview(dir, "clicked", "--click-at 332,914@2 --click-at 1496,914@3 --click-at 375,912@4 "
                                                 "--view 2 --external");
    EXPECT_NE(out.find("t=2.0 click at 332,914\n"), std::string::npos) << out;
    EXPECT_NE(out.find("t=3.0 click at 1496,914\n"), std::string::npos) << out;
    EXPECT_NE(out.find("t=4.0 click at 375,912: nothing there takes clicks\n"), std::string::npos) << out;
    // Both panels now show their MFD's mode selection.
    for (const char *panel : {"mfd_left.png", "mfd_right.png"})
        EXPECT_NE(ReadFile(dir / "still" / panel), ReadFile(dir / "clicked" / panel)) << panel;
    for (const char *picture : {"controlroom.png", "view2.png", "exterior.png"})
        EXPECT_GT(fs::file_size(dir / "clicked" / picture), 10000u) << picture;
    fs::remove_all(dir);
}

} // namespace
