// The preview's 3D pictures and its clicks through them, run as a user runs
// it on the default scenario: a click on the pixel where each MFD's select
// button is seen from the seat operates that MFD, a click between two
// buttons operates nothing, and the pictures asked for are written at the
// size the clicks are taken in.

#include <cstdio>
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

// Width and height from a PNG's header; 0 x 0 if it is none.
void PngSize(const fs::path &path, unsigned *width, unsigned *height)
{
    std::string bytes = ReadFile(path);
    *width = *height = 0;
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return;
    auto word = [&](size_t at) {
        unsigned v = 0;
        for (size_t i = 0; i < 4; ++i)
            v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    *width = word(16);
    *height = word(20);
}

class PreviewPicturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("korvane-pictures-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the preview for 10 s of the default scenario into dir/name; its
    // output goes to dir/name.txt.
    std::string Run(const std::string &name, const std::string &arguments)
    {
        std::string command = std::string("'") + KORVANE_BINARY_DIR + "/korvane-preview' --root '" + KORVANE_ROOT_DIR +
                              "' --duration 10 --out '" + (dir_ / name).string() + "' " + arguments + " > '" +
                              (dir_ / (name + ".txt")).string() + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command << "\n" << ReadFile(dir_ / (name + ".txt"));
        return ReadFile(dir_ / (name + ".txt"));
    }

    fs::path dir_;
};

TEST_F(PreviewPicturesTest, ClicksThroughTheSeatsViewOperateTheMfdsSeenThere)
{
    Run("still", "--no-3d");
    EXPECT_FALSE(fs::exists(dir_ / "still" / "controlroom.png"));

    // The select buttons' click-zone centres, (-0.685202, -1.958942,
    // -5.380787) and (0.585066, -1.958942, -5.380862), seen from the seat
    // (0, -1.55, -7) with the default scenario's 40 degrees at 1920 x 1080:
    // x = 960 + dx / dz / 0.64706 x 960, y = 540 + dy / dz / 0.36397 x 540,
    // pixels (332.2, 914.7) and (1496.1, 914.7). Half-way between the left
    // select and menu buttons, 0.0445 m from each, beyond their 0.0234 m
    // zones: (375.7, 912.1).
    std::string out = Run("clicked", "--click-at 332,914@2 --click-at 1496,914@3 --click-at 375,912@4 "
                                     "--view 2 --external");
    EXPECT_NE(out.find("t=2.0 click at 332,914\n"), std::string::npos) << out;
    EXPECT_NE(out.find("t=3.0 click at 1496,914\n"), std::string::npos) << out;
    EXPECT_NE(out.find("t=4.0 click at 375,912: nothing there takes clicks\n"), std::string::npos) << out;
    // Each MFD now shows its mode selection: both panels differ from the
    // run without clicks.
    for (const char *panel : {"mfd_left.png", "mfd_right.png"}) {
        std::string before = ReadFile(dir_ / "still" / panel), after = ReadFile(dir_ / "clicked" / panel);
        EXPECT_FALSE(before.empty()) << panel;
        EXPECT_NE(before, after) << panel;
    }
    for (const char *picture : {"controlroom.png", "view2.png", "exterior.png"}) {
        unsigned width = 0, height = 0;
        PngSize(dir_ / "clicked" / picture, &width, &height);
        EXPECT_EQ(width, 1920u) << picture;
        EXPECT_EQ(height, 1080u) << picture;
    }
}

} // namespace
