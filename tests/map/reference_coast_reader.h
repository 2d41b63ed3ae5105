// A plain coastline-file reader to check the module's reader against: lines
// with fgets (or from a string), counts with strtol, points with
// sscanf("%lf %lf"), each polyline gathered in a std::vector. Written for
// clarity, not speed; the module's ReadCoastlines must give the same header
// and polylines for every file, damaged or not.
//
// It follows the same rules for what the format leaves open:
//   - a line is what lies between two LFs (or the file's end), without a CR
//     that ends it, cut to its first 255 characters;
//   - a count is strtol's value held within int32; a negative polyline count
//     or point count ends the reading;
//   - a point is trunc(k x degrees), "nan" 0, held within int32;
//   - the file's end inside a polyline leaves it with the points read.
// Header-only: the tests, the benchmark and the fuzz target include it.

#ifndef KORVANE_TESTS_MAP_REFERENCE_COAST_READER_H
#define KORVANE_TESTS_MAP_REFERENCE_COAST_READER_H

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "map/coastline_reader.h"

namespace coastref {

constexpr size_t kLineChars = 255; // characters of a line that count

struct Point {
    int32_t x = 0; // stored units
    int32_t y = 0;
    bool operator==(const Point &o) const { return x == o.x && y == o.y; }
};

struct Coastlines {
    int32_t headerValue = 0;
    std::vector<std::vector<Point>> polylines;
    bool operator==(const Coastlines &o) const { return headerValue == o.headerValue && polylines == o.polylines; }
};

// The module reader's source polylines in the reference's form.
inline Coastlines FromModule(const korvane::CoastlineData &data)
{
    Coastlines out;
    out.headerValue = data.headerValue;
    for (const korvane::CoastPolyline &p : data.source) {
        std::vector<Point> points;
        for (int32_t j = 0; j < p.pointCount; ++j)
            points.push_back({p.points[j].x, p.points[j].y});
        out.polylines.push_back(points);
    }
    return out;
}

// Lines of a string.
class TextLines {
public:
    explicit TextLines(const std::string &text) : text_(text) {}

    // The next line into line (NUL-terminated); false at the end.
    bool Next(char (&line)[kLineChars + 1])
    {
        if (pos_ >= text_.size())
            return false;
        size_t end = text_.find('\n', pos_);
        const size_t next = (end == std::string::npos) ? text_.size() : end + 1;
        if (end == std::string::npos)
            end = text_.size();
        size_t length = end - pos_;
        if (length > 0 && text_[end - 1] == '\r')
            --length;
        if (length > kLineChars)
            length = kLineChars;
        std::memcpy(line, text_.data() + pos_, length);
        line[length] = '\0';
        pos_ = next;
        return true;
    }

private:
    const std::string &text_;
    size_t pos_ = 0;
};

// Lines of a file, read with fgets into a buffer of kLineChars + 1.
class FileLines {
public:
    explicit FileLines(std::FILE *file) : file_(file) {}

    bool Next(char (&line)[kLineChars + 1])
    {
        // Filled with LFs so that the NUL fgets ends with is the last NUL in
        // the buffer, even when the line itself holds NULs.
        std::memset(line, '\n', sizeof(line));
        if (std::fgets(line, sizeof(line), file_) == nullptr)
            return false;
        size_t got = kLineChars;
        while (line[got] != '\0')
            --got;
        size_t length = got;   // characters of the line, CR included
        char last = got > 0 ? line[got - 1] : '\0';
        if (last == '\n') {
            --length;
            last = length > 0 ? line[length - 1] : '\0';
        } else if (got == kLineChars) {
            // A long line (or exactly kLineChars before its end): skip the rest.
            int c;
            while ((c = std::getc(file_)) != EOF && c != '\n') {
                ++length;
                last = static_cast<char>(c);
            }
        }
        if (length > 0 && last == '\r')
            --length;
        if (length > kLineChars)
            length = kLineChars;
        line[length] = '\0';
        return true;
    }

private:
    std::FILE *file_;
};

inline int32_t ReadCount(const char *line)
{
    const long value = std::strtol(line, nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

inline int32_t Stored(double degrees, double unitsPerDegree)
{
    const double units = std::trunc(unitsPerDegree * degrees);
    if (std::isnan(units))
        return 0;
    if (units > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (units < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(units);
}

template <class Lines>
Coastlines Read(Lines &lines, double unitsPerDegree)
{
    Coastlines out;
    char line[kLineChars + 1];
    if (!lines.Next(line))
        return out;
    out.headerValue = ReadCount(line);
    if (!lines.Next(line))
        return out;
    const int32_t polylineCount = ReadCount(line);
    for (int32_t i = 0; i < polylineCount; ++i) {
        if (!lines.Next(line))
            break;
        const int32_t pointCount = ReadCount(line);
        if (pointCount < 0)
            break;
        out.polylines.emplace_back();
        for (int32_t j = 0; j < pointCount; ++j) {
            if (!lines.Next(line))
                return out;
            double lon = 0.0, lat = 0.0;
            std::sscanf(line, "%lf %lf", &lon, &lat);
            out.polylines.back().push_back({Stored(lon, unitsPerDegree), Stored(lat, unitsPerDegree)});
        }
    }
    return out;
}

inline Coastlines ReadText(const std::string &text, double unitsPerDegree)
{
    TextLines lines(text);
    return Read(lines, unitsPerDegree);
}

inline Coastlines ReadFile(std::FILE *file, double unitsPerDegree)
{
    FileLines lines(file);
    return Read(lines, unitsPerDegree);
}

} // namespace coastref

#endif // KORVANE_TESTS_MAP_REFERENCE_COAST_READER_H
