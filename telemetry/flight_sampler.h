// The sampler: after each time step, one sample of the target's altitude
// and speed goes into the building's flight history when a little more than
// two seconds of simulation time have passed since the last.

#ifndef KORVANE_TELEMETRY_FLIGHT_SAMPLER_H
#define KORVANE_TELEMETRY_FLIGHT_SAMPLER_H

class Korvane;

namespace korvane {

// Seconds that must be exceeded between two samples.
constexpr double kSampleIntervalSeconds = 2.0;

// The work of clbkPostStep. Without a valid target nothing happens, not even
// the timer; a target handle that no longer names a vessel advances and
// resets the timer but takes no sample.
void SampleFlight(Korvane &building, double stepSeconds);

} // namespace korvane

#endif // KORVANE_TELEMETRY_FLIGHT_SAMPLER_H
