// The headless simulator's session: loads a scenario from a simulator root
// (a folder laid out like an installation: Config/, Modules/, Scenarios/),
// creates its vessels through their modules or their class configuration,
// places landed vessels at their bases, runs frames, opens visuals and the
// cockpit, delivers user input, saves, and shuts everything down in the
// order the simulator does.
//
// Files read from the root: Config/Earth.cfg and Config/Moon.cfg (the
// planets, when the session starts), Config/Vessels/<class>.cfg (a class's
// module or figures) and Config/<Body>/Base/*.cfg (surface bases); class and
// base names are matched ignoring case, as on the simulator's own platform.

#ifndef KORVANE_HEADLESS_SIMULATOR_H
#define KORVANE_HEADLESS_SIMULATOR_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "VesselAPI.h"
#include "headless/meshes.h"
#include "headless/module_loader.h"
#include "headless/base_config.h"
#include "headless/scenario.h"
#include "headless/vessel_config.h"
#include "headless/vessel.h"

namespace headless {

class Simulator {
public:
    // rootDir: the simulator root; relative paths are resolved against it.
    explicit Simulator(std::string rootDir);
    // Closes visuals, calls ovcExit for every module vessel, unloads modules
    // (ExitModule) and clears the world.
    ~Simulator();

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
    // The camera's field of view (degrees) from the FOV line of the
    // scenario's camera section; false if it has none.
    bool cameraFieldOfView(double *degrees) const;

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

    // Destroys a vessel during the run (module's ovcExit first).
    void deleteVessel(Vessel *v);

    // Delivers a buffered key press with the given key-state array (256
    // entries) to the focus vessel; returns its clbkConsumeBufferedKey result.
    int bufferedKey(DWORD key, const char *kstate);

    // Called after every scenario load, in the order added (other modules'
    // post-load work, such as a tracking network handing itself over).
    void addLoadListener(std::function<void(Simulator &)> listener);

    const std::string &root() const { return root_; }

private:
    std::string resolve(const std::string &path) const;
    bool createVessel(const ScenarioShip &ship, std::string *error);
    // The class's configuration (read once; empty for an unknown class).
    const VesselClassConfig &classConfig(const std::string &className);
    ModuleLibrary *moduleForClass(const VesselClassConfig &cls, std::string *error);
    // Places a landed vessel at the pad of its BASE line, if it has one.
    void placeAtBase(Vessel *v);
    const BaseConfig *findBase(const std::string &body, const std::string &name);
    void destroyVessel(Vessel *v);

    std::string root_;
    std::map<std::string, std::unique_ptr<ModuleLibrary>> modules_;
    std::map<const Vessel *, std::unique_ptr<Visual>> visuals_;
    std::vector<std::function<void(Simulator &)>> loadListeners_;
    std::map<std::string, VesselClassConfig> classes_;             // by class name, lower case
    std::map<std::string, std::map<std::string, BaseConfig>> bases_; // by body, then base name, lower case
    std::vector<std::string> environment_;
    std::vector<std::string> description_;
    std::vector<ScenarioSection> sections_;
    Vessel *focus_ = nullptr;
    bool cockpitLoaded_ = false;
};

} // namespace headless

#endif // KORVANE_HEADLESS_SIMULATOR_H
