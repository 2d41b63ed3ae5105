#include "apps/run_report.h"

#include <cmath>
#include <fstream>

#include <nlohmann/json.hpp>

#include "VesselAPI.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace preview {

namespace {

nlohmann::ordered_json VesselReport(const VESSEL &v)
{
    double lng = 0.0, lat = 0.0, radius = 0.0;
    OBJHANDLE body = v.GetEquPos(lng, lat, radius);
    char bodyName[64] = "";
    oapiGetObjectName(body, bodyName, sizeof(bodyName));
    VECTOR3 vel;
    oapiGetRelativeVel(v.GetHandle(), body, &vel);
    return nlohmann::ordered_json{
        {"name", v.GetName()},
        {"class", v.GetClassName()},
        {"status", (v.GetFlightStatus() & 1u) ? "landed" : "orbiting"},
        {"reference", bodyName},
        {"longitude_deg", headless::RadiansToDegrees(lng)},
        {"latitude_deg", headless::RadiansToDegrees(lat)},
        {"altitude_m", radius - oapiGetSize(body)},
        {"speed_mps", std::sqrt(vel.x * vel.x + vel.y * vel.y + vel.z * vel.z)},
        {"mass_kg", v.GetMass()},
    };
}

} // namespace

std::string RunReportText()
{
    nlohmann::ordered_json vessels = nlohmann::ordered_json::array();
    for (Vessel *v : headless::World::instance().vessels())
        if (v->iface)
            vessels.push_back(VesselReport(*v->iface));
    nlohmann::ordered_json report{{"mjd", oapiGetSimMJD()}, {"vessels", vessels}};
    // Names are the scenario's bytes, not always UTF-8 (the simulator's files
    // are often Windows-1252): what is not UTF-8 becomes U+FFFD.
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool WriteRunReport(const std::string &path, std::string *error)
{
    std::ofstream out(path);
    out << RunReportText();
    if (!out) {
        if (error)
            *error = "cannot write the report " + path;
        return false;
    }
    return true;
}

} // namespace preview
