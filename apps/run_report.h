// The preview's machine-readable report of a run (--report FILE): the date
// and every vessel's state at the end, as JSON.
//
//   {"mjd": 51982.10446,
//    "vessels": [{"name": "ISS", "class": "ProjectAlpha_ISS",
//                 "status": "orbiting",        "orbiting" or "landed"
//                 "reference": "Earth",        the body the vessel moves about
//                 "longitude_deg": 139.889,    planet-fixed (equatorial)
//                 "latitude_deg": -3.112,      coordinates on that body
//                 "altitude_m": 359157.0,      above the body's mean radius
//                 "speed_mps": 7699.82,        relative to the body's centre,
//                                              not to its turning surface
//                 "mass_kg": 420860.0}, ...]}
//
// Everything is read through the host interface, as another module would.

#ifndef KORVANE_APPS_RUN_REPORT_H
#define KORVANE_APPS_RUN_REPORT_H

#include <string>

namespace preview {

// The report of the world as it is now, as JSON text.
std::string RunReportText();

// Writes the report to path; false with a reason in *error.
bool WriteRunReport(const std::string &path, std::string *error);

} // namespace preview

#endif // KORVANE_APPS_RUN_REPORT_H
