// The headless simulator's session: loads a scenario from a simulator root
// (a folder laid out like an installation: Config/, Modules/, Scenarios/),
// creates its vessels through their modules or their class configuration,
// places landed vessels at their bases, runs frames, opens visuals and the
// cockpit, delivers user input, saves, and shuts everything down in the
// order the simulator does.
//
// Files read from the root: Orbiter.cfg (the active plug-ins, when the
// simulator is made), Config/Earth.cfg and Config/Moon.cfg (the planets,
// likewise), Config/Vessels/<class>.cfg (a class's module or figures) and
// Config/<Body>/Base/*.cfg (surface bases); file, class and base names are
// matched ignoring case, as on the simulator's own platform.
//
// Plug-ins take part as in the simulator. Each active one is loaded from
// Modules/Plugin/<name>.so (InitModule) when the simulator is made. Its
// registered module (oapi::Module) then hears of the session:
// clbkSimulationStart once the first scenario's vessels exist and their
// clbkPostCreation ran; clbkPreStep and clbkPostStep around every frame's
// step; clbkNewVessel for every vessel made after that (by
// oapiCreateVesselEx or a later load); clbkDeleteVessel before a vessel is
// destroyed during the session; clbkSimulationEnd when the session ends,
// while its vessels still exist. Then the vessels go, and each plug-in's
// ExitModule runs before it is unloaded. A plug-in that is missing or cannot
// be loaded leaves the session without it, with a message saying why.
//
// oapiDeleteVessel destroys its vessel at the end of the frame, as the
// simulator does; a vessel deleted while the session ends goes right after
// clbkSimulationEnd.

#ifndef KORVANE_HEADLESS_SIMULATOR_H
#define KORVANE_HEADLESS_SIMULATOR_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "VesselAPI.h"
#include "headless/meshes.h"
#include "headless/module_loader.h"
#include "headless/plugin_loader.h"
#include "headless/base_config.h"
#include "headless/scenario.h"
#include "headless/vessel_config.h"
#include "headless/vessel.h"

namespace headless {

class Simulator {
public:
    // rootDir: the simulator root; relative paths are resolved against it.
    // The plug-ins that its Orbiter.cfg activates are loaded, except those
    // named in skippedPlugins (ignoring case).
    explicit Simulator(std::string rootDir, std::vector<std::string> skippedPlugins = {});
    // Ends the session (clbkSimulationEnd), closes visuals, calls ovcExit
    // for every module vessel, unloads vessel modules and plug-ins
    // (ExitModule) and clears the world.
    ~Simulator();

    // The simulator that the host functions creating and deleting vessels
    // act on: the one made last and still alive; null if there is none.
    static Simulator *current();

    // The plug-ins that were loaded, by their names in Orbiter.cfg.
    std::vector<std::string> pluginNames() const;

    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Loads a scenario file (path relative to the root or absolute).
    bool loadScenario(const std::string &path, std::string *error);
    // Loads a scenario from text (for tests).
    bool loadScenarioText(const std::string &text, std::string *error);

    // The current state as scenario text, each module vessel's block written
    // by its clbkSaveState.
    std::string saveScenarioText() const;
    bool saveScenario(const std::string &path, std::string *error) const;

    // One frame: advance time by dt, clbkPreStep/clbkPostStep of every
    // vessel, then the cockpit redraws of the focus vessel.
    void frame(double dt);

    // The focus vessel: the scenario's, or the first vessel that can have
    // the focus; null if none can.
    Vessel *focus() const { return focus_; }

    // The scenario's sections other than description, environment, focus
    // and ships (BEGIN_CAMERA, BEGIN_MFD, ...), as read; saved back as they
    // are.
    const std::vector<ScenarioSection> &sections() const { return sections_; }

    // Creates a visual for every vessel (clbkVisualCreated with reference
    // count 1) / destroys them (clbkVisualDestroyed).
    void openVisuals();
    void closeVisuals();
    Visual *visualOf(const Vessel *v) const;

    // Enters the focus vessel's virtual cockpit at a position (clbkLoadVC);
    // from then on every frame redraws its areas. False if there is no
    // focus vessel or it has no cockpit.
    bool loadCockpit(int position);
    bool cockpitLoaded() const { return cockpitLoaded_; }

    // A left click (press and release) in the cockpit: at the centre of an
    // area's click zone, or at a point in vessel coordinates (m). False if
    // nothing there takes clicks.
    bool clickArea(int areaId);
    bool clickAt(const VECTOR3 &p);
    // A left click along a ray from the eye (vessel frame, m): the nearest
    // area whose click zone the ray hits takes it. False if the ray hits
    // nothing that takes clicks.
    bool clickRay(const VECTOR3 &origin, const VECTOR3 &direction);

    // Destroys a vessel now (plug-ins' clbkDeleteVessel, then the module's
    // ovcExit).
    void deleteVessel(Vessel *v);

    // oapiCreateVesselEx: a vessel of a class that has a configuration file,
    // in the state of status (set by the module's clbkSetStateEx), then its
    // clbkPostCreation, its visual if visuals are open, and the plug-ins'
    // clbkNewVessel. Null, with the reason in *error, for an empty name, a
    // name that a vessel has already, a class without a file or whose
    // module fails, or a status whose version is not 2.
    OBJHANDLE createVessel(const std::string &name, const std::string &className, const VESSELSTATUS2 &status,
                           std::string *error);
    // oapiDeleteVessel: marks a vessel to be destroyed at the end of the
    // frame; false if h is not a live vessel.
    bool requestDeletion(OBJHANDLE h);

    // Delivers a buffered key press with the given key-state array (256
    // entries) to the focus vessel; returns its clbkConsumeBufferedKey result.
    int bufferedKey(DWORD key, const char *kstate);

    const std::string &root() const { return root_; }

private:
    struct KnownClass {
        bool hasFile = false;
        VesselClassConfig config;
    };

    std::string resolve(const std::string &path) const;
    void loadPlugins(const std::vector<std::string> &skipped);
    bool createVessel(const ScenarioShip &ship, std::string *error);
    // A vessel of the class with its interface (the module's, after its
    // clbkSetClassCaps, or a generic one with the class's figures); null
    // with *error if the module fails.
    Vessel *makeVessel(const std::string &name, const std::string &className, std::string *error);
    // The class's configuration (read once; empty for an unknown class).
    const KnownClass &classConfig(const std::string &className);
    ModuleLibrary *moduleForClass(const VesselClassConfig &cls, std::string *error);
    // Places a landed vessel at the pad of its BASE line, if it has one.
    void placeAtBase(Vessel *v);
    const BaseConfig *findBase(const std::string &body, const std::string &name);
    void destroyVessel(Vessel *v);
    void openVisual(Vessel *v);
    // The vessels marked by requestDeletion, each after the plug-ins'
    // clbkDeleteVessel.
    void destroyMarkedVessels();

    std::string root_;
    std::vector<std::unique_ptr<PluginLibrary>> plugins_;
    std::map<std::string, std::unique_ptr<ModuleLibrary>> modules_;
    std::map<const Vessel *, std::unique_ptr<Visual>> visuals_;
    bool visualsOpen_ = false;
    bool sessionStarted_ = false;           // the plug-ins had clbkSimulationStart
    std::vector<OBJHANDLE> markedForDeletion_;
    std::map<std::string, KnownClass> classes_;                     // by class name, lower case
    std::map<std::string, std::map<std::string, BaseConfig>> bases_; // by body, then base name, lower case
    std::vector<std::string> environment_;
    std::vector<std::string> description_;
    std::vector<ScenarioSection> sections_;
    Vessel *focus_ = nullptr;
    bool cockpitLoaded_ = false;
};

} // namespace headless

#endif // KORVANE_HEADLESS_SIMULATOR_H
