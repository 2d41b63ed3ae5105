#include "headless/sketchpad_recorder.h"

namespace headless {

namespace {

// Room reserved up front, so that a frame's worth of drawing does not keep
// reallocating: sketchpads in the list, and calls in one record.
constexpr size_t kInitialRecords = 256;
constexpr size_t kInitialCallsPerRecord = 64;

struct Recorder {
    Recorder() { records.reserve(kInitialRecords); }

    std::vector<SketchpadRecord> records;
    // Incremented by ClearRecordings, so that a cursor can tell that its
    // record has gone.
    uint64_t generation = 0;
    SketchpadMode mode = SketchpadMode::RasterAndRecord;
};

// Never destroyed, so that sketchpads may be released during the exit of
// the process.
Recorder &recorder()
{
    static Recorder *r = new Recorder;
    return *r;
}

size_t AppendRecord(SURFHANDLE surface)
{
    std::vector<SketchpadRecord> &records = recorder().records;
    records.emplace_back();
    records.back().surface = surface;
    records.back().calls.reserve(kInitialCallsPerRecord);
    return records.size() - 1;
}

} // namespace

void SetSketchpadMode(SketchpadMode mode) { recorder().mode = mode; }
SketchpadMode CurrentSketchpadMode() { return recorder().mode; }

const std::vector<SketchpadRecord> &Recordings() { return recorder().records; }

void ClearRecordings()
{
    recorder().records.clear();
    ++recorder().generation;
}

RecordCursor::RecordCursor(SURFHANDLE surface)
    : surface_(surface), index_(AppendRecord(surface)), generation_(recorder().generation)
{
}

DrawCall &RecordCursor::Append(DrawOp op)
{
    if (generation_ != recorder().generation) {
        index_ = AppendRecord(surface_);
        generation_ = recorder().generation;
    }
    std::vector<DrawCall> &calls = recorder().records[index_].calls;
    calls.emplace_back();
    calls.back().op = op;
    return calls.back();
}

} // namespace headless
