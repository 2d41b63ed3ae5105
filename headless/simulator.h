// The headless simulator's session: loads a scenario from a simulator root
// (a folder laid out like an installation: Config/, Modules/, Scenarios/),
// creates its vessels through their modules, runs frames, opens visuals and
// the cockpit, delivers user input, saves, and shuts everything down in the
// order the simulator does.

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
#include "headless/scenario.h"
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

    Vessel *focus() const { return focus_; }

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
    ModuleLibrary *moduleForClass(const std::string &className, std::string *error);
    void destroyVessel(Vessel *v);

    std::string root_;
    std::map<std::string, std::unique_ptr<ModuleLibrary>> modules_;
    std::map<const Vessel *, std::unique_ptr<Visual>> visuals_;
    std::vector<std::function<void(Simulator &)>> loadListeners_;
    std::vector<std::string> environment_;
    std::vector<std::string> description_;
    Vessel *focus_ = nullptr;
    bool cockpitLoaded_ = false;
};

} // namespace headless

#endif // KORVANE_HEADLESS_SIMULATOR_H
