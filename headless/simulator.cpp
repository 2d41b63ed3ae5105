#include "headless/simulator.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "headless/input.h"
#include "headless/mfd.h"
#include "headless/mfd_display.h"
#include "headless/vc.h"
#include "headless/world.h"

namespace headless {

namespace {
// The host's user-facing state starts afresh with every session.
void ResetUserInterface()
{
    VirtualCockpit::instance().reset();
    MfdModel::instance().reset();
    MfdDisplays::instance().reset();
    CurrentInputBox() = InputBoxRequest{};
}
} // namespace

Simulator::Simulator(std::string rootDir) : root_(std::move(rootDir))
{
    World::instance().reset();
    ResetUserInterface();
}

Simulator::~Simulator()
{
    cockpitLoaded_ = false;
    closeVisuals();
    while (!World::instance().vessels().empty())
        destroyVessel(World::instance().vessels().back());
    World::instance().reset();
    modules_.clear();
    MeshStore::instance().clear();
    ResetUserInterface();
}

std::string Simulator::resolve(const std::string &path) const
{
    if (!path.empty() && path[0] == '/')
        return path;
    return root_ + "/" + path;
}

bool Simulator::loadScenario(const std::string &path, std::string *error)
{
    std::ifstream in(resolve(path));
    if (!in) {
        if (error)
            *error = "cannot open scenario " + resolve(path);
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return loadScenarioText(text.str(), error);
}

bool Simulator::loadScenarioText(const std::string &text, std::string *error)
{
    std::istringstream in(text);
    ScenarioFile file;
    if (!ParseScenario(in, file, error))
        return false;
    World::instance().setStartMjd(file.mjd);
    environment_ = file.environment;
    description_ = file.description;
    for (const ScenarioShip &ship : file.ships) {
        if (World::instance().vesselByName(ship.name)) {
            std::fprintf(stderr, "scenario: duplicate vessel name %s skipped\n", ship.name.c_str());
            continue;
        }
        if (!createVessel(ship, error))
            return false;
    }
    // As in the simulator, post-creation comes once every vessel exists.
    for (Vessel *v : World::instance().vessels())
        static_cast<VESSEL2 *>(v->iface)->clbkPostCreation();
    focus_ = World::instance().vesselByName(file.focus);
    if (!focus_ && !World::instance().vessels().empty())
        focus_ = World::instance().vessels().front();
    for (auto &listener : loadListeners_)
        listener(*this);
    return true;
}

ModuleLibrary *Simulator::moduleForClass(const std::string &className, std::string *error)
{
    if (className.empty() || className.find('/') != std::string::npos || className.find("..") != std::string::npos)
        return nullptr;
    std::string moduleName = ModuleOfClassConfig(resolve("Config/Vessels/" + className + ".cfg"));
    if (moduleName.empty() || moduleName.find('/') != std::string::npos)
        return nullptr;
    auto it = modules_.find(moduleName);
    if (it != modules_.end())
        return it->second.get();
    auto lib = ModuleLibrary::load(moduleName, resolve("Modules/" + moduleName + ".so"), error);
    if (!lib)
        return nullptr;
    ModuleLibrary *raw = lib.get();
    modules_[moduleName] = std::move(lib);
    return raw;
}

bool Simulator::createVessel(const ScenarioShip &ship, std::string *error)
{
    std::string loadError;
    ModuleLibrary *module = moduleForClass(ship.className, &loadError);
    if (!module && !loadError.empty()) {
        if (error)
            *error = "vessel " + ship.name + ": " + loadError;
        return false;
    }
    Vessel *v = World::instance().addVessel(std::make_unique<Vessel>(ship.name, ship.className));
    double mjd = World::instance().mjd();
    if (!module) {
        v->makeGenericInterface();
        for (const std::string &line : ship.lines)
            if (!v->parseLine(line.c_str()))
                v->extraLines.push_back(line);
        v->finishLoading(mjd);
        return true;
    }
    VESSEL *iface = module->createVessel(v->handle(), 1);
    if (!iface) {
        World::instance().deleteVessel(v);
        if (error)
            *error = "vessel " + ship.name + ": the module made no vessel";
        return false;
    }
    v->iface = iface;
    v->module = module;
    auto *iface2 = static_cast<VESSEL2 *>(iface);
    iface2->clbkSetClassCaps(nullptr);
    ScenarioBlockReader reader(ship.lines);
    iface2->clbkLoadStateEx(&reader, v);
    v->finishLoading(mjd);
    return true;
}

std::string Simulator::saveScenarioText() const
{
    std::string out = "BEGIN_DESC\n";
    for (const std::string &line : description_)
        out += line + "\n";
    out += "END_DESC\n\nBEGIN_ENVIRONMENT\n  System Sol\n";
    char date[64];
    std::snprintf(date, sizeof(date), "  Date MJD %.10f\n", World::instance().mjd());
    out += date;
    for (const std::string &line : environment_)
        if (line.rfind("System", 0) != 0)
            out += "  " + line + "\n";
    out += "END_ENVIRONMENT\n\n";
    if (focus_)
        out += "BEGIN_FOCUS\n  Ship " + focus_->name() + "\nEND_FOCUS\n\n";
    out += "BEGIN_SHIPS\n";
    for (Vessel *v : World::instance().vessels()) {
        out += v->name() + ":" + v->className() + "\n";
        ScenarioWriter writer;
        static_cast<VESSEL2 *>(v->iface)->clbkSaveState(&writer);
        out += writer.text();
        out += "END\n";
    }
    out += "END_SHIPS\n";
    return out;
}

bool Simulator::saveScenario(const std::string &path, std::string *error) const
{
    std::ofstream out(resolve(path));
    if (!out) {
        if (error)
            *error = "cannot write " + resolve(path);
        return false;
    }
    out << saveScenarioText();
    return static_cast<bool>(out);
}

void Simulator::frame(double dt)
{
    World &world = World::instance();
    double simt = world.simTime();
    double mjd = world.mjd();
    for (Vessel *v : world.vessels())
        static_cast<VESSEL2 *>(v->iface)->clbkPreStep(simt, dt, mjd);
    world.advance(dt);
    simt = world.simTime();
    mjd = world.mjd();
    // A callback may delete vessels: walk a copy and skip the departed.
    std::vector<Vessel *> vessels = world.vessels();
    for (Vessel *v : vessels)
        if (world.vesselFromHandle(v))
            static_cast<VESSEL2 *>(v->iface)->clbkPostStep(simt, dt, mjd);
    if (cockpitLoaded_ && focus_)
        VirtualCockpit::instance().RunCockpitRedraws(static_cast<VESSEL2 *>(focus_->iface));
}

bool Simulator::loadCockpit(int position)
{
    if (!focus_)
        return false;
    VirtualCockpit::instance().beginLoad(position);
    cockpitLoaded_ = static_cast<VESSEL2 *>(focus_->iface)->clbkLoadVC(position);
    // As the simulator does when a cockpit is entered, every area that is
    // drawn on a texture gets its first redraw with the next frame.
    if (cockpitLoaded_)
        for (const VcArea &area : VirtualCockpit::instance().areas())
            if (area.hasTexture && area.redrawMode != PANEL_REDRAW_NEVER)
                VirtualCockpit::instance().triggerRedraw(-1, area.id);
    return cockpitLoaded_;
}

bool Simulator::clickArea(int areaId)
{
    const VcArea *area = VirtualCockpit::instance().area(areaId);
    if (!area || area->zone == VcArea::Zone::None)
        return false;
    return clickAt(VirtualCockpit::zoneCentre(*area));
}

bool Simulator::clickAt(const VECTOR3 &p)
{
    if (!cockpitLoaded_ || !focus_)
        return false;
    return VirtualCockpit::instance().ClickAt(static_cast<VESSEL2 *>(focus_->iface), p);
}

bool Simulator::clickRay(const VECTOR3 &origin, const VECTOR3 &direction)
{
    if (!cockpitLoaded_ || !focus_)
        return false;
    return VirtualCockpit::instance().ClickAlong(static_cast<VESSEL2 *>(focus_->iface), origin, direction);
}

void Simulator::openVisuals()
{
    for (Vessel *v : World::instance().vessels()) {
        if (visuals_.count(v))
            continue;
        auto visual = std::make_unique<Visual>(v->meshes.size());
        VISHANDLE h = visual->handle();
        visuals_[v] = std::move(visual);
        static_cast<VESSEL2 *>(v->iface)->clbkVisualCreated(h, 1);
    }
}

void Simulator::closeVisuals()
{
    for (auto &entry : visuals_) {
        const Vessel *v = entry.first;
        static_cast<VESSEL2 *>(v->iface)->clbkVisualDestroyed(entry.second->handle(), 1);
    }
    visuals_.clear();
}

Visual *Simulator::visualOf(const Vessel *v) const
{
    auto it = visuals_.find(v);
    return it == visuals_.end() ? nullptr : it->second.get();
}

void Simulator::destroyVessel(Vessel *v)
{
    auto it = visuals_.find(v);
    if (it != visuals_.end()) {
        static_cast<VESSEL2 *>(v->iface)->clbkVisualDestroyed(it->second->handle(), 1);
        visuals_.erase(it);
    }
    if (v->module) {
        v->module->destroyVessel(v->iface);
        v->iface = nullptr;
    }
    if (focus_ == v) {
        focus_ = nullptr;
        cockpitLoaded_ = false;
        VirtualCockpit::instance().reset();
    }
    World::instance().deleteVessel(v);
}

void Simulator::deleteVessel(Vessel *v)
{
    if (World::instance().vesselFromHandle(v))
        destroyVessel(v);
}

int Simulator::bufferedKey(DWORD key, const char *kstate)
{
    if (!focus_)
        return 0;
    char state[256];
    for (int i = 0; i < 256; ++i)
        state[i] = kstate ? kstate[i] : 0;
    return static_cast<VESSEL2 *>(focus_->iface)->clbkConsumeBufferedKey(key, true, state);
}

void Simulator::addLoadListener(std::function<void(Simulator &)> listener)
{
    loadListeners_.push_back(std::move(listener));
}

} // namespace headless
