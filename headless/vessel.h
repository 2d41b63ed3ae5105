// The host's own vessel object: what the simulator knows of a spacecraft or
// building, whichever module (or none) defines its class.
//
// A vessel is either orbiting a planet (two-body motion, with optional main
// engine burns) or landed on it (fixed on the rotating surface). Its scenario
// lines are the generic ones that every vessel understands; lines it does not
// understand are kept and written back unchanged.
//
// Positions and velocities are kept in the stand-in's internal frame
// (frames.h); the scenario lines RPOS and RVEL are in the simulator's frame
// and are converted where they are read and written. The attitude is kept in
// the simulator's own form (attitude.h).

#ifndef KORVANE_HEADLESS_VESSEL_H
#define KORVANE_HEADLESS_VESSEL_H

#include <string>
#include <vector>

#include "VesselAPI.h"
#include "headless/orbit.h"
#include "headless/propellant.h"
#include "headless/world.h"

namespace headless {
class ModuleLibrary;
class ScenarioWriter;
struct VesselClassConfig;
} // namespace headless

class Vessel : public headless::Object {
public:
    enum class Status { Orbiting, Landed };

    struct Burn {
        double startSeconds;    // simulation time of ignition
        double durationSeconds;
        double level;           // main engine level 0..1
    };
    struct MeshEntry {
        MESHHANDLE mesh;
        VECTOR3 offset;
        WORD visibility;
    };

    Vessel(std::string name, std::string className);
    ~Vessel() override;

    const std::string &className() const { return className_; }

    // The vessel interface that modules see; owned by the module that made it
    // (module != null) or by this object (generic vessels).
    VESSEL *iface = nullptr;
    headless::ModuleLibrary *module = nullptr;
    // 1, 2 or 3: the newest of VESSEL, VESSEL2, VESSEL3 that iface is (set by
    // their constructors), so the host knows which callbacks it may call.
    int interfaceVersion = 0;
    void makeGenericInterface();

    // What a class without a module takes from its configuration file: empty
    // mass, size, tanks (full), main engine, mesh and whether it may have the
    // focus. Call before the vessel's scenario lines are read.
    void applyClass(const headless::VesselClassConfig &cls);

    // --- Object -----------------------------------------------------------
    double size() const override;
    double mass() const override;
    VECTOR3 globalPos() const override;
    VECTOR3 globalVel() const override;
    MATRIX3 rotationMatrix() const override { return globalRotation(); }

    // --- State --------------------------------------------------------------
    Status status = Status::Landed;
    headless::Planet *ref = nullptr;     // reference body
    headless::StateVector orbitState{};  // relative to ref, internal frame (orbiting)
    double landedLonRad = 0.0;
    double landedLatRad = 0.0;
    double headingRad = 0.0;
    MATRIX3 rotation;                    // vessel to global frame, the simulator's form (orbiting)
    VECTOR3 angularVelRad{};             // rad/s about the vessel axes

    double emptyMassKg = 0.0;
    headless::PropellantTanks tanks;
    double mainThrustNewton = 0.0;
    double mainIspMetresPerSecond = 0.0;
    std::vector<Burn> burns;

    // Class capabilities set by modules
    double clipRadiusMetres = 0.0;
    std::vector<TOUCHDOWNVTX> touchdownPoints;
    std::vector<MeshEntry> meshes;
    VECTOR3 cameraOffset{};

    // False for a vessel that can never have the focus.
    bool focusable = true;

    // The landing pad of a BASE <name>:<pad> line (empty name: none), which
    // the simulator resolves once the vessel's lines are read.
    std::string baseName;
    int basePad = 0;

    // Lines of the vessel's scenario block that no one understood, in order.
    std::vector<std::string> extraLines;

    // Position and velocity relative to the reference body (internal frame).
    VECTOR3 relativePos() const;
    VECTOR3 relativeVel() const;
    // Velocity relative to the reference body's rotating surface (m/s).
    VECTOR3 airspeedVector() const;
    double altitudeMeanRadius() const;
    // Vessel to global rotation in the simulator's form (landed vessels stand
    // upright, facing their heading).
    MATRIX3 globalRotation() const;
    double propellantMass() const { return tanks.totalMass(); }
    // Main engine level (0..1) and thrust (N) in force at the current time.
    double mainLevel() const;
    double thrustNewton() const { return mainLevel() * mainThrustNewton; }

    // Puts a landed vessel at a place (radians), as a resolved BASE line does.
    void placeAt(double lonRad, double latRad);

    // Takes the state of a VESSELSTATUS2 (oapiCreateVesselEx, and the
    // default clbkSetStateEx): the reference body when rbody is a planet;
    // status 1 stands the vessel at surf_lng, surf_lat facing surf_hdg,
    // otherwise it flies at rpos, rvel with attitude arot and angular
    // velocity vrot; VS_FUELRESET empties the tanks and VS_FUELLIST sets
    // the listed ones (levels 0..1, indices past the tanks ignored). The
    // base, port, thruster and docking entries are not read.
    void applyStatus(const VESSELSTATUS2 &status);

    // Turns what the scenario lines gave (elements or state vectors) into the
    // vessel's state at date mjd; called once the vessel's block is read.
    void finishLoading(double mjd);

    // Moves the vessel from time simt by dt seconds.
    void advance(double simt, double dt);

    // Reads one generic scenario line; returns false if it was not understood
    // (the caller keeps it).
    bool parseLine(const char *line);
    // Writes the generic lines of the vessel's state at simulation time simt
    // (burn times are written relative to it, as a saved scenario restarts
    // its clock at 0).
    void writeState(headless::ScenarioWriter &out, double simt) const;

private:
    double burnLevelAt(double t) const;

    std::string className_;
    bool ownsIface_ = false;
    double classSizeMetres_ = 0.0;

    // Orbit as given by the scenario, resolved by finishLoading.
    bool hasElements_ = false;
    ELEMENTS elements_{};
    double elementsEpochMjd_ = 0.0;
    bool hasRpos_ = false;
    bool hasRvel_ = false;

    // The AROT angles as read (degrees), written back as they were while the
    // attitude has not changed since.
    bool arotAsRead_ = false;
    VECTOR3 arotDeg_{};

    // Which lines the vessel's own block gave, and so writes back: the
    // class's tanks come first and are written as PRPLEVEL fills.
    bool emptyMassFromLine_ = false;
    bool mainEngineFromLine_ = false;
    size_t classTanks_ = 0;
    bool tankCapReported_ = false;
};

#endif // KORVANE_HEADLESS_VESSEL_H
