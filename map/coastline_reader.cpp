#include "map/coastline_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "map/coast_number.h"

namespace korvane {

namespace {

// Bytes read from the stream at a time: large enough that the stream's
// per-call cost vanishes, small enough that a file is never held whole.
constexpr size_t kChunkBytes = 64 * 1024;

// Points reserved ahead for a polyline from its announced count; beyond this
// the point storage grows with the lines actually read.
constexpr int32_t kPointReserveLimit = 1 << 16;

// The length of a line of bytes bytes ending in last, as it is read: without
// a final CR, and no longer than kCoastLineMaxChars.
size_t ReadLength(size_t bytes, char last)
{
    if (bytes != 0 && last == '\r')
        --bytes;
    return bytes < kCoastLineMaxChars ? bytes : kCoastLineMaxChars;
}

// Splits a stream into lines, reading it in chunks. A line that lies within
// one chunk is handed out in place (its end overwritten with a NUL); one
// that spans chunks is gathered in a small buffer of its own.
class LineReader {
public:
    // Allocates the chunk buffer: may throw std::bad_alloc.
    explicit LineReader(std::istream &in) : in_(in), chunk_(new char[kChunkBytes]) {}

    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    // The next line as read (see ReadLength), NUL-terminated; null once the
    // stream has no more lines. Valid until the next call.
    const char *Next()
    {
        for (;;) {
            if (pos_ != end_) {
                char *start = pos_;
                char *lineEnd = static_cast<char *>(std::memchr(start, '\n', static_cast<size_t>(end_ - start)));
                if (lineEnd == nullptr) {
                    Gather(start, end_);
                    pos_ = end_;
                    continue;
                }
                pos_ = lineEnd + 1;
                if (gatheredBytes_ != 0) {
                    Gather(start, lineEnd);
                    return FinishGathered();
                }
                const size_t bytes = static_cast<size_t>(lineEnd - start);
                start[ReadLength(bytes, bytes != 0 ? lineEnd[-1] : '\0')] = '\0';
                return start;
            }
            if (!Refill())
                return gatheredBytes_ != 0 ? FinishGathered() : nullptr;
        }
    }

private:
    // Adds [begin, end) to the line being gathered; keeps only what is read.
    void Gather(const char *begin, const char *end)
    {
        if (begin == end)
            return;
        const size_t bytes = static_cast<size_t>(end - begin);
        const size_t kept = gatheredBytes_ < kCoastLineMaxChars ? gatheredBytes_ : kCoastLineMaxChars;
        const size_t room = kCoastLineMaxChars - kept;
        std::memcpy(gathered_ + kept, begin, bytes < room ? bytes : room);
        gatheredBytes_ += bytes;
        gatheredLast_ = end[-1];
    }

    const char *FinishGathered()
    {
        gathered_[ReadLength(gatheredBytes_, gatheredLast_)] = '\0';
        gatheredBytes_ = 0;
        return gathered_;
    }

    // Reads the next chunk; false at the end of the stream or after an error.
    bool Refill()
    {
        if (exhausted_)
            return false;
        in_.read(chunk_.get(), static_cast<std::streamsize>(kChunkBytes));
        const std::streamsize got = in_.gcount();
        if (!in_ || got <= 0)
            exhausted_ = true; // a short read: what it got is still good
        pos_ = chunk_.get();
        end_ = pos_ + (got > 0 ? got : 0);
        return pos_ != end_;
    }

    std::istream &in_;
    std::unique_ptr<char[]> chunk_;
    char *pos_ = nullptr;   // next unread byte of chunk_
    char *end_ = nullptr;   // end of the bytes in chunk_
    bool exhausted_ = false; // the stream has nothing more to give
    char gathered_[kCoastLineMaxChars + 1] = {}; // the read part of a line spanning chunks
    size_t gatheredBytes_ = 0; // that line's length so far, bytes
    char gatheredLast_ = '\0'; // its last byte so far
};

// Reads up to count point lines into points, in stored units; false if the
// stream ran out first.
bool ReadPoints(LineReader &lines, int32_t count, double unitsPerDegree, std::vector<oapi::IVECTOR2> &points)
{
    for (int32_t j = 0; j < count; ++j) {
        const char *line = lines.Next();
        if (line == nullptr)
            return false;
        const CoastPoint read = ReadPointLine(line);
        oapi::IVECTOR2 stored;
        stored.x = ToStoredUnits(read.longitudeDeg, unitsPerDegree);
        stored.y = ToStoredUnits(read.latitudeDeg, unitsPerDegree);
        points.push_back(stored);
    }
    return true;
}

// Adds a polyline of the given points to both arrays of data, with point
// arrays of exactly its size (the projected one zeroed). False, with data
// unchanged, if memory runs out.
bool AppendPolyline(const std::vector<oapi::IVECTOR2> &points, CoastlineData &data) noexcept
{
    try {
        CoastPolyline source;
        CoastPolyline projected;
        const int32_t count = static_cast<int32_t>(points.size());
        if (count > 0) {
            source.points.reset(new oapi::IVECTOR2[points.size()]);
            std::copy(points.begin(), points.end(), source.points.get());
            projected.points.reset(new oapi::IVECTOR2[points.size()]());
        }
        source.pointCount = count;
        projected.pointCount = count;
        data.source.push_back(std::move(source));
        try {
            data.projected.push_back(std::move(projected));
        } catch (...) {
            data.source.pop_back();
            throw;
        }
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

CoastlineData ReadCoastlines(std::istream &in, double unitsPerDegree) noexcept
{
    CoastlineData data;
    std::vector<oapi::IVECTOR2> points; // the polyline being read
    bool reading = false;               // points belong to a polyline not yet added
    try {
        LineReader lines(in);
        const char *line = lines.Next();
        if (line == nullptr)
            return data;
        data.headerValue = ReadCountLine(line);
        line = lines.Next();
        if (line == nullptr)
            return data;
        const int32_t polylineCount = ReadCountLine(line);
        for (int32_t i = 0; i < polylineCount; ++i) {
            line = lines.Next();
            if (line == nullptr)
                break;
            const int32_t pointCount = ReadCountLine(line);
            if (pointCount < 0)
                break;
            points.clear();
            reading = true;
            points.reserve(static_cast<size_t>(pointCount < kPointReserveLimit ? pointCount : kPointReserveLimit));
            const bool complete = ReadPoints(lines, pointCount, unitsPerDegree, points);
            reading = false;
            if (!AppendPolyline(points, data) || !complete)
                break;
        }
    } catch (...) {
        // Out of memory or a stream error thrown: the polyline being read
        // keeps the points read so far, as if the file ended there.
        if (reading)
            AppendPolyline(points, data);
    }
    return data;
}

} // namespace korvane
