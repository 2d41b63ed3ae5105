#include "telemetry/flight_history.h"

namespace korvane {

namespace {
double Column(const FlightSample &s, bool altitudeColumn) { return altitudeColumn ? s.altitude : s.speed; }
} // namespace

FlightHistory::FlightHistory(uint32_t capacity) : capacity_(capacity)
{
    // One more than the capacity: push appends before it drops the oldest.
    samples_.reserve(static_cast<size_t>(capacity_) + 1);
}

void FlightHistory::push(const FlightSample &sample)
{
    samples_.push_back(sample);
    if (samples_.size() > capacity_)
        samples_.erase(samples_.begin());
}

double FlightHistory::maxValue(bool altitudeColumn) const
{
    if (samples_.empty())
        return 0.0;
    double best = Column(samples_[0], altitudeColumn);
    for (const FlightSample &s : samples_)
        if (Column(s, altitudeColumn) > best)
            best = Column(s, altitudeColumn);
    return best;
}

double FlightHistory::minValue(bool altitudeColumn) const
{
    if (samples_.empty())
        return 0.0;
    double best = Column(samples_[0], altitudeColumn);
    for (const FlightSample &s : samples_)
        if (Column(s, altitudeColumn) < best)
            best = Column(s, altitudeColumn);
    return best;
}

double FlightHistory::valueRange(bool altitudeColumn) const
{
    double hi = maxValue(altitudeColumn);
    double lo = minValue(altitudeColumn);
    return hi - lo;
}

} // namespace korvane
