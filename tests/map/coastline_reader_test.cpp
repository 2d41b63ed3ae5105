// Reading a coastline file into polylines: the layout, line ends, damaged
// and hostile content, and agreement with the plain reference reader on
// generated files (including lines that straddle the reader's blocks).

#include "map/coastline_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "reference_coast_reader.h"

namespace {

using coastref::Coastlines;
using coastref::Point;
using korvane::CoastlineData;
using korvane::ReadCoastlines;

constexpr double kUnitsPerDegree = 1000.0; // thousandths of a degree
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr size_t kBlockBytes = 64 * 1024; // the reader's block size

CoastlineData Read(const std::string &text)
{
    std::istringstream in(text);
    return ReadCoastlines(in, kUnitsPerDegree);
}

// Checks that the projected array has the source's shape: one record per
// polyline, the same point counts, arrays of their own, all points (0, 0).
void ExpectProjectedShape(const CoastlineData &data)
{
    ASSERT_EQ(data.projected.size(), data.source.size());
    for (size_t i = 0; i < data.source.size(); ++i) {
        const korvane::CoastPolyline &source = data.source[i];
        const korvane::CoastPolyline &projected = data.projected[i];
        ASSERT_EQ(projected.pointCount, source.pointCount) << "polyline " << i;
        if (source.pointCount == 0)
            continue;
        ASSERT_NE(source.points, nullptr);
        ASSERT_NE(projected.points, nullptr);
        EXPECT_NE(projected.points.get(), source.points.get());
        for (int32_t j = 0; j < projected.pointCount; ++j) {
            EXPECT_EQ(projected.points[j].x, 0);
            EXPECT_EQ(projected.points[j].y, 0);
        }
    }
}

Coastlines Polylines(const std::string &text)
{
    const CoastlineData data = Read(text);
    ExpectProjectedShape(data);
    return coastref::FromModule(data);
}

Coastlines Expected(int32_t header, std::vector<std::vector<Point>> polylines)
{
    Coastlines c;
    c.headerValue = header;
    c.polylines = std::move(polylines);
    return c;
}

std::string WithCrLf(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

TEST(CoastlineReaderTest, LayoutAndStoredUnits)
{
    const std::string file = "1\n"
                             "3\n"
                             "2\n"
                             "12.34567 -45.6789\n"
                             "-0.0004 0.0004\n"
                             "1\n"
                             "-180 90\n"
                             "3\n"
                             "180 -90\n"
                             "0.5 -0.25\n"
                             "180 -90\n";
    const CoastlineData data = Read(file);
    ExpectProjectedShape(data);
    EXPECT_EQ(coastref::FromModule(data),
              Expected(1, {{{12345, -45678}, {0, 0}},
                           {{-180000, 90000}},
                           {{180000, -90000}, {500, -250}, {180000, -90000}}}));

    // The header's value is kept whatever it is.
    EXPECT_EQ(Read("-17\n0\n").headerValue, -17);
}

TEST(CoastlineReaderTest, LineEndsDoNotChangeThePolylines)
{
    const std::string file = "7\n2\n2\n1.5 2.5\n-3 4\n1\n10 -20";
    const Coastlines expected = Expected(7, {{{1500, 2500}, {-3000, 4000}}, {{10000, -20000}}});
    EXPECT_EQ(Polylines(file), expected) << "no final line end";
    EXPECT_EQ(Polylines(file + "\n"), expected) << "final LF";
    EXPECT_EQ(Polylines(WithCrLf(file)), expected) << "CR LF, no final line end";
    EXPECT_EQ(Polylines(WithCrLf(file + "\n")), expected) << "CR LF";
}

TEST(CoastlineReaderTest, LinesAfterTheLastPolylineAreIgnored)
{
    const std::string file = "0\n1\n2\n1 1\n2 2\n";
    const Coastlines expected = Expected(0, {{{1000, 1000}, {2000, 2000}}});
    EXPECT_EQ(Polylines(file), expected);
    EXPECT_EQ(Polylines(file + "3\n4 4\n5 5\n6 6\n"), expected) << "a further polyline";
    EXPECT_EQ(Polylines(file + "stray text\n\n99"), expected) << "stray text";
}

TEST(CoastlineReaderTest, EmptyPolylinesAndEmptyFiles)
{
    // A polyline of count 0 takes only its count line.
    EXPECT_EQ(Polylines("0\n3\n0\n2\n1 2\n3 4\n0\n"), Expected(0, {{}, {{1000, 2000}, {3000, 4000}}, {}}));
    // The last polyline empty: what follows is not read.
    EXPECT_EQ(Polylines("0\n1\n0\n5 5\n"), Expected(0, {{}}));
    // N = 0: nothing after line 2 is read.
    EXPECT_EQ(Polylines("5\n0\n2\n1 1\n2 2\n"), Expected(5, {}));
    // An empty file, a header alone, a file of line ends.
    EXPECT_EQ(Polylines(""), Expected(0, {}));
    EXPECT_EQ(Polylines("9"), Expected(9, {}));
    EXPECT_EQ(Polylines("\n\n\n\n"), Expected(0, {}));
}

TEST(CoastlineReaderTest, DamagedLinesReadAsZero)
{
    // Point lines: what cannot be read is 0, and the line still counts.
    EXPECT_EQ(Polylines("0\n1\n6\nabc\n12.5 xyz\n\n   \n1.5,2.5\n-7 8 9\n"),
              Expected(0, {{{0, 0}, {12500, 0}, {0, 0}, {0, 0}, {1500, 0}, {-7000, 8000}}}));
    // A damaged header reads 0; so does a damaged N (no polylines).
    EXPECT_EQ(Polylines("header\n1\n1\n2 3\n"), Expected(0, {{{2000, 3000}}}));
    EXPECT_EQ(Polylines("1\nmany\n1\n2 3\n"), Expected(1, {}));
    // A damaged point count is 0: the next line is the next polyline's count.
    EXPECT_EQ(Polylines("1\n2\nsome\n1\n4 5\n"), Expected(1, {{}, {{4000, 5000}}}));
    // Out-of-range values are held at the ends of int32; "nan" is 0.
    EXPECT_EQ(Polylines("1\n1\n2\n1e400 nan\n-inf 0x1p3\n"),
              Expected(1, {{{kInt32Max, 0}, {std::numeric_limits<int32_t>::min(), 8000}}}));
}

TEST(CoastlineReaderTest, NegativeCountsEndTheReading)
{
    EXPECT_EQ(Polylines("1\n-3\n1\n1 1\n"), Expected(1, {}));
    EXPECT_EQ(Polylines("1\n3\n1\n1 1\n-2\n2 2\n3 3\n1\n4 4\n"), Expected(1, {{{1000, 1000}}}));
}

TEST(CoastlineReaderTest, CountsBeyondTheFileGiveWhatTheLinesHold)
{
    // Billions announced, two lines present.
    const Coastlines hostile = Polylines("1\n2000000000\n3000000000\n1 2\n3 4\n");
    EXPECT_EQ(hostile, Expected(1, {{{1000, 2000}, {3000, 4000}}}));

    // Five polylines announced, the third cut short after one of its four
    // points: three polylines, the third shortened in both arrays.
    const std::string cut = "1\n5\n1\n1 1\n0\n4\n2 2";
    const CoastlineData data = Read(cut);
    ExpectProjectedShape(data);
    EXPECT_EQ(coastref::FromModule(data), Expected(1, {{{1000, 1000}}, {}, {{2000, 2000}}}));
    EXPECT_EQ(Polylines(cut + "\n"), Expected(1, {{{1000, 1000}}, {}, {{2000, 2000}}}));
    // Cut before a count line: the polylines read so far.
    EXPECT_EQ(Polylines("1\n5\n1\n1 1\n"), Expected(1, {{{1000, 1000}}}));
}

TEST(CoastlineReaderTest, LongLinesAreReadFromTheirFirst255Characters)
{
    const std::string spaces248(248, ' ');
    // 255 characters: read whole. 256: the last one is not read.
    EXPECT_EQ(Polylines("1\n1\n1\n" + spaces248 + "1.5 2.5\n"), Expected(1, {{{1500, 2500}}}));
    EXPECT_EQ(Polylines("1\n1\n1\n" + spaces248 + " 1.5 2.5\n"), Expected(1, {{{1500, 2000}}}));
    // A CR before the LF is not part of the line, so 255 characters remain.
    EXPECT_EQ(Polylines("1\n1\n1\n" + spaces248 + "1.5 2.5\r\n"), Expected(1, {{{1500, 2500}}}));
    // A 10000-character line is one line: its rest is not a further line.
    EXPECT_EQ(Polylines("1\n1\n2\n3 4" + std::string(9997, ' ') + "\n5 6\n"),
              Expected(1, {{{3000, 4000}, {5000, 6000}}}));
    EXPECT_EQ(Polylines("1\n1\n2\n3 4 " + std::string(9996, 'x') + "\n5 6\n"),
              Expected(1, {{{3000, 4000}, {5000, 6000}}}));
    // Count lines too: "2", 300 spaces and "5" is the count 2.
    EXPECT_EQ(Polylines("1\n2" + std::string(300, ' ') + "5\n0\n1\n8 9\n"), Expected(1, {{}, {{8000, 9000}}}));
    EXPECT_EQ(Polylines(std::string(400, ' ') + "12\n1\n0\n"), Expected(0, {{}}));
}

// A file of count lines and point lines of every kind, regular enough to
// hold many polylines, with damage and long lines here and there.
std::string GeneratedFile(std::mt19937 &random, size_t minBytes)
{
    static const std::vector<std::string> kOddLines = {
        "", "   ", "abc", "12.5 xyz", "1e400 2", "nan -inf", "0x1p3 0x", "-", "1,2", "inf(1) 2",
        "1e+ 5", "\t-0.0004\t0.0004", "  +1.5   -2.5  trailing", "1 2 3", "\r", "7\r8",
    };
    std::uniform_real_distribution<double> lon(-180.0, 180.0), lat(-90.0, 90.0);
    std::uniform_int_distribution<int> percent(0, 99), points(0, 40), width(200, 320);
    std::string text = "1\n" + std::to_string(1 << 30) + "\n";
    while (text.size() < minBytes) {
        const int count = points(random);
        text += std::to_string(count) + "\n";
        for (int j = 0; j < count; ++j) {
            const int kind = percent(random);
            char line[64];
            if (kind < 80) {
                std::snprintf(line, sizeof(line), "%.3f %.3f", lon(random), lat(random));
                text += line;
            } else if (kind < 95) {
                text += kOddLines[static_cast<size_t>(percent(random)) % kOddLines.size()];
            } else {
                std::snprintf(line, sizeof(line), "%.6f %.6f", lon(random), lat(random));
                text += std::string(static_cast<size_t>(width(random)) - 20, ' ') + line;
            }
            text += (percent(random) < 10) ? "\r\n" : "\n";
        }
    }
    return text;
}

TEST(CoastlineReaderTest, AgreesWithTheReferenceOnGeneratedFiles)
{
    std::mt19937 random(61);
    for (int round = 0; round < 6; ++round) {
        const std::string text = GeneratedFile(random, 3 * kBlockBytes + 1000 * static_cast<size_t>(round));
        const Coastlines expected = coastref::ReadText(text, kUnitsPerDegree);
        ASSERT_GT(expected.polylines.size(), 200u);
        EXPECT_EQ(Polylines(text), expected) << "round " << round;
        // Cut anywhere: still the reference's reading of the cut file.
        const size_t cut = text.size() / 2 + static_cast<size_t>(round) * 37;
        EXPECT_EQ(Polylines(text.substr(0, cut)), coastref::ReadText(text.substr(0, cut), kUnitsPerDegree));
    }
}

// Lines of every length at the reader's block boundary: one that ends just
// before it, one that crosses it, a CR LF split by it, a long line cut by it
// before or after its 255th character.
TEST(CoastlineReaderTest, LinesAcrossBlockBoundaries)
{
    const std::vector<std::string> probes = {
        "12.5 -33.25\n", "12.5 -33.25\r\n", std::string(250, ' ') + "1.5 2.5\r\n",
        std::string(300, ' ') + "\n", "7 8" + std::string(600, '9') + "\n", "\n", "\r\n",
    };
    for (const std::string &probe : probes) {
        const size_t n = probe.size();
        for (size_t before : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{254}, size_t{255}, size_t{256},
                              size_t{257}, n - 2, n - 1, n, n + 1, n + 2}) {
            if (before > n + 2)
                continue;
            // Filler point lines "0 0", then a line ending so that the probe
            // starts `before` bytes ahead of the block boundary.
            std::string text = "1\n1\n1000000\n";
            while (text.size() + 4 <= kBlockBytes - before - 30)
                text += "0 0\n";
            text += std::string(kBlockBytes - before - text.size() - 1, ' ') + "\n";
            ASSERT_EQ(text.size(), kBlockBytes - before);
            text += probe + "-1 -1\n" + probe + "5 5";
            EXPECT_EQ(Polylines(text), coastref::ReadText(text, kUnitsPerDegree))
                << "probe of " << probe.size() << " bytes starting " << before << " bytes before the boundary";
        }
    }
}

TEST(CoastlineReaderTest, TheStandInsCoastlineFileReadsWholeAndCountsItsPoints)
{
    const std::string path = std::string(KORVANE_SOURCE_DIR) + "/standin/Config/Earth/Data/coast.vec";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.is_open()) << path;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    // Line 2 announces the polylines; every one of them is there.
    const size_t secondLine = text.find('\n') + 1;
    const long announced = std::strtol(text.c_str() + secondLine, nullptr, 10);
    const Coastlines read = Polylines(text);
    EXPECT_EQ(static_cast<long>(read.polylines.size()), announced);
    EXPECT_EQ(read, coastref::ReadText(text, kUnitsPerDegree));
    // Line 1 is the total number of points, so that a reader allocating
    // that many (the simulator's Map MFD) has room for all of them.
    long total = 0;
    for (const auto &polyline : read.polylines)
        total += static_cast<long>(polyline.size());
    EXPECT_EQ(read.headerValue, total);
    EXPECT_GT(total, 0);
}

// A coordinate in thousandths of a degree written with half a thousandth
// more, so that truncation gives the thousandths back exactly.
std::string HalfPastMilli(int milli)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%s%d.%03d5", milli < 0 ? "-" : "", std::abs(milli) / 1000, std::abs(milli) % 1000);
    return text;
}

TEST(CoastlineReaderTest, TheSimulatorsOwnLayoutReads)
{
    // The simulator's file: the total of vertices and the number of
    // segments, each followed by a comment, then the segments. Here 237
    // segments of 39 points and one of 108: 237 x 39 + 108 = 9351.
    std::string text = "9351 ; total number of vertices\n238 ; number of segments\n";
    std::vector<std::vector<Point>> expected;
    for (int segment = 0; segment < 238; ++segment) {
        const int points = segment < 237 ? 39 : 108;
        text += std::to_string(points) + " ; vertices of segment " + std::to_string(segment + 1) + "\n";
        expected.emplace_back();
        for (int j = 0; j < points; ++j) {
            const int lonMilli = (segment - 119) * 1500 + j * 10;
            const int latMilli = j * 500 - 10000;
            text += HalfPastMilli(lonMilli) + " " + HalfPastMilli(latMilli) + "\n";
            expected.back().push_back({lonMilli, latMilli});
        }
    }
    const Coastlines read = Polylines(text);
    EXPECT_EQ(read.headerValue, 9351);
    ASSERT_EQ(read.polylines.size(), 238u);
    size_t total = 0;
    for (const auto &polyline : read.polylines)
        total += polyline.size();
    EXPECT_EQ(total, 9351u);
    EXPECT_EQ(read, Expected(9351, expected));
    // Spot checks: the first point (-178.5, -10) and the last (178.07, 43.5).
    EXPECT_EQ(read.polylines.front().front(), (Point{-178500, -10000}));
    EXPECT_EQ(read.polylines.back().back(), (Point{178070, 43500}));
}

TEST(CoastlineReaderTest, BothReferenceReadersAgree)
{
    std::mt19937 random(7);
    const std::string text = GeneratedFile(random, 200000) + std::string(1, '\0') + " 5\n";
    std::FILE *file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
    std::rewind(file);
    EXPECT_EQ(coastref::ReadFile(file, kUnitsPerDegree), coastref::ReadText(text, kUnitsPerDegree));
    std::fclose(file);
}

// A stream buffer that holds the first `limit` bytes of a text and then fails
// by throwing, as a damaged medium might.
class FailingBuffer : public std::streambuf {
public:
    FailingBuffer(std::string text, size_t limit) : text_(std::move(text))
    {
        setg(text_.data(), text_.data(), text_.data() + std::min(limit, text_.size()));
    }

protected:
    int_type underflow() override { throw std::runtime_error("read error"); }

private:
    std::string text_;
};

TEST(CoastlineReaderTest, StreamErrorsKeepWhatWasRead)
{
    std::mt19937 random(3);
    const std::string text = GeneratedFile(random, 3 * kBlockBytes);
    const size_t limit = kBlockBytes + kBlockBytes / 2;

    // Without exceptions on the stream: the failed block gives nothing, so
    // the file reads as if it ended after the first block.
    FailingBuffer quiet(text, limit);
    std::istream quietIn(&quiet);
    const CoastlineData quietData = ReadCoastlines(quietIn, kUnitsPerDegree);
    ExpectProjectedShape(quietData);
    const std::string firstBlock = text.substr(0, kBlockBytes);
    EXPECT_EQ(coastref::FromModule(quietData), coastref::ReadText(firstBlock, kUnitsPerDegree));

    // With exceptions: the throw reaches the reader, which keeps the lines
    // completed before it (the line cut at the block's end is lost).
    FailingBuffer loud(text, limit);
    std::istream loudIn(&loud);
    loudIn.exceptions(std::ios::badbit | std::ios::failbit);
    CoastlineData loudData;
    EXPECT_NO_THROW(loudData = ReadCoastlines(loudIn, kUnitsPerDegree));
    ExpectProjectedShape(loudData);
    const std::string completeLines = firstBlock.substr(0, firstBlock.rfind('\n') + 1);
    EXPECT_EQ(coastref::FromModule(loudData), coastref::ReadText(completeLines, kUnitsPerDegree));
}

} // namespace
