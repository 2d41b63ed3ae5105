// FlightHistory: the target's recent altitude and speed, one sample every
// two seconds or so, the latest 600 kept, oldest first.
//
// The samples stay contiguous so that the graph page can walk them by index
// without copying; the statistics are taken afresh on each call.

#ifndef KORVANE_TELEMETRY_FLIGHT_HISTORY_H
#define KORVANE_TELEMETRY_FLIGHT_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvane {

struct FlightSample {
    double mjd;      // simulation date, days
    double altitude; // metres above the mean radius
    double speed;    // metres per second relative to the target's reference body
};

class FlightHistory {
public:
    static constexpr uint32_t kDefaultCapacity = 600;

    explicit FlightHistory(uint32_t capacity = kDefaultCapacity);

    // Appends a sample; when that makes one too many, the oldest is dropped.
    void push(const FlightSample &sample);

    // Number of samples held, 0 to capacity.
    int32_t count() const { return static_cast<int32_t>(samples_.size()); }

    // Largest / smallest value of one column (altitude when altitudeColumn is
    // true, speed otherwise); 0.0 for an empty history. The result is always
    // a value held in the history.
    double maxValue(bool altitudeColumn) const;
    double minValue(bool altitudeColumn) const;
    // maxValue - minValue of the same column.
    double valueRange(bool altitudeColumn) const;

    // REQUIRES: 0 <= index < count(). Index 0 is the oldest sample.
    const FlightSample &operator[](int32_t index) const { return samples_[static_cast<size_t>(index)]; }
    const std::vector<FlightSample> &samples() const { return samples_; }
    uint32_t capacity() const { return capacity_; }

private:
    std::vector<FlightSample> samples_;
    uint32_t capacity_;
};

} // namespace korvane

#endif // KORVANE_TELEMETRY_FLIGHT_HISTORY_H
