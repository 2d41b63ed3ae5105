#include "telemetry/flight_sampler.h"

#include <cmath>

#include "module/korvane.h"

namespace korvane {

void SampleFlight(Korvane &building, double stepSeconds)
{
    if (!building.targetValid)
        return;
    building.sampleTimer += stepSeconds;
    if (!(building.sampleTimer > kSampleIntervalSeconds))
        return;
    // Time beyond the interval is dropped, not carried into the next one.
    building.sampleTimer = 0.0;

    // The target may have been deleted since it was chosen: its handle must
    // not be used then.
    if (!oapiIsVessel(building.targetHandle))
        return;
    double altitude = 0.0;
    oapiGetAltitude(building.targetHandle, &altitude);
    OBJHANDLE reference = oapiGetVesselInterface(building.targetHandle)->GetSurfaceRef();
    VECTOR3 velocity = _V(0, 0, 0);
    oapiGetRelativeVel(building.targetHandle, reference, &velocity);
    double speed = std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y + velocity.z * velocity.z);
    building.history.push(FlightSample{oapiGetSimMJD(), altitude, speed});
}

} // namespace korvane
