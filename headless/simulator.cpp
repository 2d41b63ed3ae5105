#include "headless/simulator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <strings.h>

#include "headless/input.h"
#include "headless/messages.h"
#include "headless/mfd.h"
#include "headless/mfd_display.h"
#include "headless/module_registry.h"
#include "headless/orbiter_config.h"
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

std::string Lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The path of the file in dir whose name is name ignoring case, the exact
// name first; empty if there is none.
std::string FindIgnoringCase(const std::string &dir, const std::string &name)
{
    std::error_code ec;
    std::string exact = dir + "/" + name;
    if (std::filesystem::is_regular_file(exact, ec))
        return exact;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (strcasecmp(it->path().filename().c_str(), name.c_str()) == 0 && it->is_regular_file(ec))
            return it->path().string();
    return std::string();
}

// A name that may be used as a file name in a folder of the root.
bool IsPlainFileName(const std::string &name)
{
    return !name.empty() && name.find('/') == std::string::npos && name.find("..") == std::string::npos;
}

bool ContainsIgnoringCase(const std::vector<std::string> &names, const std::string &name)
{
    for (const std::string &n : names)
        if (strcasecmp(n.c_str(), name.c_str()) == 0)
            return true;
    return false;
}

Simulator *&CurrentSimulator()
{
    static Simulator *current = nullptr;
    return current;
}

ModuleRegistry &Plugins() { return ModuleRegistry::instance(); }
} // namespace

Simulator::Simulator(std::string rootDir, std::vector<std::string> skippedPlugins) : root_(std::move(rootDir))
{
    CurrentSimulator() = this;
    World::instance().reset();
    MeshStore::instance().setRoot(root_);
    ResetUserInterface();
    std::vector<std::string> messages;
    World::instance().configurePlanets(root_, &messages);
    for (const std::string &m : messages)
        Report(m);
    loadPlugins(skippedPlugins);
}

Simulator::~Simulator()
{
    if (sessionStarted_)
        Plugins().each("clbkSimulationEnd", [](oapi::Module &m) { m.clbkSimulationEnd(); });
    destroyMarkedVessels();
    cockpitLoaded_ = false;
    closeVisuals();
    while (!World::instance().vessels().empty())
        destroyVessel(World::instance().vessels().back());
    World::instance().reset();
    modules_.clear();
    // Unloaded in the reverse order of loading, as the simulator does.
    while (!plugins_.empty())
        plugins_.pop_back();
    MeshStore::instance().clear();
    ResetUserInterface();
    if (CurrentSimulator() == this)
        CurrentSimulator() = nullptr;
}

Simulator *Simulator::current() { return CurrentSimulator(); }

void Simulator::loadPlugins(const std::vector<std::string> &skipped)
{
    std::ifstream in(resolve("Orbiter.cfg"));
    if (!in)
        return; // a root without the simulator's configuration activates nothing
    std::vector<std::string> problems;
    OrbiterConfig cfg = ReadOrbiterConfig(in, &problems);
    for (const std::string &p : problems)
        Report("Orbiter.cfg: " + p);
    for (const std::string &name : cfg.activeModules) {
        if (ContainsIgnoringCase(skipped, name)) {
            Report("plug-in " + name + ": active, but left out of this session");
            continue;
        }
        std::string path = FindIgnoringCase(resolve("Modules/Plugin"), name + ".so");
        if (path.empty()) {
            Report("plug-in " + name + ": there is no Modules/Plugin/" + name + ".so; the session runs without it");
            continue;
        }
        std::string error;
        std::unique_ptr<PluginLibrary> lib = PluginLibrary::load(name, path, &error);
        if (!lib) {
            Report("plug-in " + name + ": cannot be loaded (" + error + "); the session runs without it");
            continue;
        }
        plugins_.push_back(std::move(lib));
    }
}

std::vector<std::string> Simulator::pluginNames() const
{
    std::vector<std::string> names;
    for (const auto &lib : plugins_)
        names.push_back(lib->name());
    return names;
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
    sections_ = file.sections;
    const size_t existing = World::instance().vessels().size();
    for (const ScenarioShip &ship : file.ships) {
        if (World::instance().vesselByName(ship.name)) {
            Report("scenario: duplicate vessel name " + ship.name + " skipped");
            continue;
        }
        if (!createVessel(ship, error))
            return false;
    }
    // As in the simulator, post-creation comes once every vessel exists.
    std::vector<Vessel *> created(World::instance().vessels().begin() + static_cast<std::ptrdiff_t>(existing),
                                  World::instance().vessels().end());
    for (Vessel *v : created)
        static_cast<VESSEL2 *>(v->iface)->clbkPostCreation();
    if (sessionStarted_) {
        // A later load adds vessels to a running session.
        for (Vessel *v : created) {
            if (visualsOpen_)
                openVisual(v);
            OBJHANDLE h = v->handle();
            Plugins().each("clbkNewVessel", [h](oapi::Module &m) { m.clbkNewVessel(h); });
        }
        return true;
    }
    focus_ = World::instance().vesselByName(file.focus);
    if (focus_ && !focus_->focusable) {
        Report("scenario: " + focus_->name() + " can never have the focus");
        focus_ = nullptr;
    }
    for (size_t i = 0; !focus_ && i < World::instance().vessels().size(); ++i)
        if (World::instance().vessels()[i]->focusable)
            focus_ = World::instance().vessels()[i];
    sessionStarted_ = true;
    Plugins().each("clbkSimulationStart",
                   [](oapi::Module &m) { m.clbkSimulationStart(oapi::Module::RENDER_NONE); });
    return true;
}

const Simulator::KnownClass &Simulator::classConfig(const std::string &className)
{
    std::string key = Lower(className);
    auto it = classes_.find(key);
    if (it != classes_.end())
        return it->second;
    KnownClass cls;
    std::string path = IsPlainFileName(className) ? FindIgnoringCase(resolve("Config/Vessels"), className + ".cfg")
                                                  : std::string();
    if (!path.empty()) {
        std::ifstream in(path);
        std::vector<std::string> problems;
        cls.hasFile = true;
        cls.config = ReadVesselClassConfig(in, &problems);
        for (const std::string &p : problems)
            Report(path + ": " + p);
    }
    return classes_.emplace(key, std::move(cls)).first->second;
}

ModuleLibrary *Simulator::moduleForClass(const VesselClassConfig &cls, std::string *error)
{
    const std::string &moduleName = cls.module;
    if (!IsPlainFileName(moduleName))
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

const BaseConfig *Simulator::findBase(const std::string &body, const std::string &name)
{
    auto bodyIt = bases_.find(body);
    if (bodyIt == bases_.end()) {
        // The body's bases are read once, all of them: a base is known by
        // its Name line, or by its file's name if it has none.
        std::map<std::string, BaseConfig> bases;
        std::error_code ec;
        std::vector<std::filesystem::path> files;
        for (std::filesystem::directory_iterator it(resolve("Config/" + body + "/Base"), ec), end;
             !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".cfg")
                files.push_back(it->path());
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path &file : files) {
            std::ifstream in(file);
            std::vector<std::string> problems;
            BaseConfig base = ReadBaseConfig(in, &problems);
            for (const std::string &p : problems)
                Report(file.string() + ": " + p);
            if (base.name.empty())
                base.name = file.stem().string();
            bases.emplace(Lower(base.name), std::move(base));
        }
        bodyIt = bases_.emplace(body, std::move(bases)).first;
    }
    auto it = bodyIt->second.find(Lower(name));
    return it == bodyIt->second.end() ? nullptr : &it->second;
}

void Simulator::placeAtBase(Vessel *v)
{
    if (v->status != Vessel::Status::Landed || v->baseName.empty())
        return;
    const BaseConfig *base = IsPlainFileName(v->ref->name()) ? findBase(v->ref->name(), v->baseName) : nullptr;
    double lon = 0.0, lat = 0.0;
    if (!base) {
        Report("vessel " + v->name() + ": no base " + v->baseName + " on " + v->ref->name() + "; its POS is kept");
    } else if (!PadLocation(*base, v->basePad, v->ref->size(), &lon, &lat)) {
        Report("vessel " + v->name() + ": base " + base->name + " has no location or no pad " +
               std::to_string(v->basePad) + "; its POS is kept");
    } else {
        v->placeAt(lon, lat);
    }
}

Vessel *Simulator::makeVessel(const std::string &name, const std::string &className, std::string *error)
{
    const VesselClassConfig &cls = classConfig(className).config;
    std::string loadError;
    ModuleLibrary *module = moduleForClass(cls, &loadError);
    if (!module && !loadError.empty()) {
        if (error)
            *error = "vessel " + name + ": " + loadError;
        return nullptr;
    }
    Vessel *v = World::instance().addVessel(std::make_unique<Vessel>(name, className));
    if (!module) {
        v->makeGenericInterface();
        v->applyClass(cls);
        return v;
    }
    VESSEL *iface = module->createVessel(v->handle(), 1);
    if (!iface) {
        World::instance().deleteVessel(v);
        if (error)
            *error = "vessel " + name + ": the module made no vessel";
        return nullptr;
    }
    v->iface = iface;
    v->module = module;
    static_cast<VESSEL2 *>(iface)->clbkSetClassCaps(nullptr);
    return v;
}

bool Simulator::createVessel(const ScenarioShip &ship, std::string *error)
{
    Vessel *v = makeVessel(ship.name, ship.className, error);
    if (!v)
        return false;
    if (!v->module) {
        for (const std::string &line : ship.lines)
            if (!v->parseLine(line.c_str()))
                v->extraLines.push_back(line);
    } else {
        ScenarioBlockReader reader(ship.lines);
        static_cast<VESSEL2 *>(v->iface)->clbkLoadStateEx(&reader, v);
    }
    placeAtBase(v);
    v->finishLoading(World::instance().mjd());
    return true;
}

OBJHANDLE Simulator::createVessel(const std::string &name, const std::string &className,
                                  const VESSELSTATUS2 &status, std::string *error)
{
    auto refuse = [error](const std::string &why) -> OBJHANDLE {
        if (error)
            *error = why;
        return nullptr;
    };
    if (name.empty())
        return refuse("a vessel needs a name");
    if (World::instance().vesselByName(name))
        return refuse("there is a vessel named " + name + " already");
    if (status.version != 2)
        return refuse("vessel " + name + ": the status is not a VESSELSTATUS2 (version " +
                      std::to_string(status.version) + ")");
    if (!classConfig(className).hasFile)
        return refuse("vessel " + name + ": there is no Config/Vessels/" + className + ".cfg");
    Vessel *v = makeVessel(name, className, error);
    if (!v)
        return nullptr;
    static_cast<VESSEL2 *>(v->iface)->clbkSetStateEx(&status);
    v->finishLoading(World::instance().mjd());
    static_cast<VESSEL2 *>(v->iface)->clbkPostCreation();
    if (visualsOpen_)
        openVisual(v);
    OBJHANDLE h = v->handle();
    if (sessionStarted_)
        Plugins().each("clbkNewVessel", [h](oapi::Module &m) { m.clbkNewVessel(h); });
    return h;
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
    for (const ScenarioSection &section : sections_)
        if (!section.afterShips)
            out += SectionText(section) + "\n";
    out += "BEGIN_SHIPS\n";
    for (Vessel *v : World::instance().vessels()) {
        out += v->name() + ":" + v->className() + "\n";
        ScenarioWriter writer;
        static_cast<VESSEL2 *>(v->iface)->clbkSaveState(&writer);
        out += writer.text();
        out += "END\n";
    }
    out += "END_SHIPS\n";
    for (const ScenarioSection &section : sections_)
        if (section.afterShips)
            out += "\n" + SectionText(section);
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
    // A plug-in's pre-step hears of the time the step leads to.
    Plugins().each("clbkPreStep",
                   [&](oapi::Module &m) { m.clbkPreStep(simt + dt, dt, mjd + dt / 86400.0); });
    // A callback may create or delete vessels: walk copies and skip the
    // departed.
    std::vector<Vessel *> vessels = world.vessels();
    for (Vessel *v : vessels)
        if (world.vesselFromHandle(v))
            static_cast<VESSEL2 *>(v->iface)->clbkPreStep(simt, dt, mjd);
    world.advance(dt);
    simt = world.simTime();
    mjd = world.mjd();
    vessels = world.vessels();
    for (Vessel *v : vessels)
        if (world.vesselFromHandle(v))
            static_cast<VESSEL2 *>(v->iface)->clbkPostStep(simt, dt, mjd);
    Plugins().each("clbkPostStep", [&](oapi::Module &m) { m.clbkPostStep(simt, dt, mjd); });
    if (cockpitLoaded_ && focus_)
        VirtualCockpit::instance().RunCockpitRedraws(static_cast<VESSEL2 *>(focus_->iface));
    destroyMarkedVessels();
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
    visualsOpen_ = true;
    for (Vessel *v : World::instance().vessels())
        openVisual(v);
}

void Simulator::openVisual(Vessel *v)
{
    if (visuals_.count(v))
        return;
    auto visual = std::make_unique<Visual>(v->meshes.size());
    VISHANDLE h = visual->handle();
    visuals_[v] = std::move(visual);
    static_cast<VESSEL2 *>(v->iface)->clbkVisualCreated(h, 1);
}

void Simulator::closeVisuals()
{
    visualsOpen_ = false;
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
    if (!World::instance().vesselFromHandle(v))
        return;
    OBJHANDLE h = v->handle();
    Plugins().each("clbkDeleteVessel", [h](oapi::Module &m) { m.clbkDeleteVessel(h); });
    // A plug-in's callback may have destroyed it meanwhile.
    if (World::instance().vesselFromHandle(h))
        destroyVessel(v);
}

bool Simulator::requestDeletion(OBJHANDLE h)
{
    if (!World::instance().vesselFromHandle(h))
        return false;
    if (std::find(markedForDeletion_.begin(), markedForDeletion_.end(), h) == markedForDeletion_.end())
        markedForDeletion_.push_back(h);
    return true;
}

void Simulator::destroyMarkedVessels()
{
    // A plug-in may mark more vessels while it hears of these.
    while (!markedForDeletion_.empty()) {
        std::vector<OBJHANDLE> marked;
        marked.swap(markedForDeletion_);
        for (OBJHANDLE h : marked)
            deleteVessel(World::instance().vesselFromHandle(h));
    }
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

} // namespace headless
