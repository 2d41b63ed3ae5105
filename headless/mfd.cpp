#include "headless/mfd.h"

#include <cstdio>

namespace headless {

namespace {

using Display = MfdModel::Display;

const char *const kBodyNames[] = {"Earth", "Moon"};
constexpr int kBodyCount = 2;
const char *const kSpeedNames[] = {"Airspeed", "Groundspeed", "Vertical"};
constexpr int kSpeedCount = 3;

// NAV receivers tune 108.00 to 117.95 MHz in steps of 50 kHz, wrapping
// round at either end.
constexpr int kNavLowestKhz = 108000;
constexpr int kNavHighestKhz = 117950;
constexpr int kNavStepKhz = 50;

bool NextOrbitReference(Display &d)
{
    d.orbitReference = (d.orbitReference + 1) % kBodyCount;
    return true;
}

bool ToggleOrbitFrame(Display &d)
{
    d.orbitEquatorialFrame = !d.orbitEquatorialFrame;
    return true;
}

bool ToggleOrbitView(Display &d)
{
    d.orbitListView = !d.orbitListView;
    return true;
}

bool ToggleOrbitDistances(Display &d)
{
    d.orbitAltitudes = !d.orbitAltitudes;
    return true;
}

bool ToggleSurfaceAltitude(Display &d)
{
    d.surfaceGroundAltitude = !d.surfaceGroundAltitude;
    return true;
}

bool NextSurfaceSpeed(Display &d)
{
    d.surfaceSpeed = (d.surfaceSpeed + 1) % kSpeedCount;
    return true;
}

bool ToggleSurfaceUnits(Display &d)
{
    d.surfaceImperial = !d.surfaceImperial;
    return true;
}

bool NextMapReference(Display &d)
{
    d.mapReference = (d.mapReference + 1) % kBodyCount;
    return true;
}

bool ToggleMapTrack(Display &d)
{
    d.mapTrack = !d.mapTrack;
    return true;
}

bool ZoomIn(Display &d)
{
    if (d.mapZoom >= MfdModel::kMaxZoom)
        return false;
    ++d.mapZoom;
    return true;
}

bool ZoomOut(Display &d)
{
    if (d.mapZoom <= 1)
        return false;
    --d.mapZoom;
    return true;
}

bool NextReceiver(Display &d)
{
    d.commsReceiver = (d.commsReceiver + 1) % MfdModel::kNavReceivers;
    return true;
}

bool FrequencyUp(Display &d)
{
    int &khz = d.commsFrequencyKhz[d.commsReceiver];
    khz = khz >= kNavHighestKhz ? kNavLowestKhz : khz + kNavStepKhz;
    return true;
}

bool FrequencyDown(Display &d)
{
    int &khz = d.commsFrequencyKhz[d.commsReceiver];
    khz = khz <= kNavLowestKhz ? kNavHighestKhz : khz - kNavStepKhz;
    return true;
}

void AddLine(std::vector<std::string> &lines, const char *name, const char *value)
{
    char line[64];
    std::snprintf(line, sizeof(line), "%-10s %s", name, value);
    lines.push_back(line);
}

} // namespace

MfdModel::MfdModel() { reset(); }

MfdModel &MfdModel::instance()
{
    static MfdModel model;
    return model;
}

void MfdModel::reset()
{
    displays_[0] = Display();
    displays_[0].mode = Mode::Orbit;
    displays_[1] = Display();
    displays_[1].mode = Mode::Surface;
}

const MfdModel::Display *MfdModel::display(int mfd) const
{
    return mfd >= 0 && mfd < kMfdCount ? &displays_[mfd] : nullptr;
}

MfdModel::Display *MfdModel::displayOn(int mfd)
{
    Display *d = mfd >= 0 && mfd < kMfdCount ? &displays_[mfd] : nullptr;
    return d && d->on ? d : nullptr;
}

const char *MfdModel::ModeName(Mode mode)
{
    switch (mode) {
    case Mode::Orbit:
        return "Orbit";
    case Mode::Surface:
        return "Surface";
    case Mode::Map:
        return "Map";
    case Mode::Comms:
        return "Comms";
    }
    return "";
}

const MfdModel::Button *MfdModel::ButtonOf(const Display &d, int bt)
{
    static const Button kSelect[kModeCount] = {
        {"ORB", "Orbit: elements of the orbit", nullptr},
        {"SRF", "Surface: altitude and speed", nullptr},
        {"MAP", "Map: ground track", nullptr},
        {"COM", "Comms: NAV receivers", nullptr},
    };
    static const Button kOrbit[kButtonCount] = {
        {"REF", "Reference body: Earth or Moon", NextOrbitReference},
        {"FRM", "Frame: ecliptic or equatorial", ToggleOrbitFrame},
        {}, {}, {}, {},
        {"MOD", "Display: orbit or element list", ToggleOrbitView},
        {"DST", "Distances: radius or altitude", ToggleOrbitDistances},
        {}, {}, {}, {},
    };
    static const Button kSurface[kButtonCount] = {
        {"ALT", "Altitude: mean radius or ground", ToggleSurfaceAltitude},
        {"SPD", "Speed: air, ground or vertical", NextSurfaceSpeed},
        {}, {}, {}, {},
        {"UNT", "Units: metric or imperial", ToggleSurfaceUnits},
        {}, {}, {}, {}, {},
    };
    static const Button kMap[kButtonCount] = {
        {"REF", "Reference body: Earth or Moon", NextMapReference},
        {"TRK", "Track: keep the vessel centred", ToggleMapTrack},
        {}, {}, {}, {},
        {"ZM+", "Zoom in", ZoomIn},
        {"ZM-", "Zoom out", ZoomOut},
        {}, {}, {}, {},
    };
    static const Button kComms[kButtonCount] = {
        {"NAV", "Receiver: NAV1 or NAV2", NextReceiver},
        {}, {}, {}, {}, {},
        {"F+", "Frequency up 50 kHz", FrequencyUp},
        {"F-", "Frequency down 50 kHz", FrequencyDown},
        {}, {}, {}, {},
    };

    if (bt < 0 || bt >= kButtonCount)
        return nullptr;
    const Button *b = nullptr;
    if (d.page == Page::Select) {
        b = bt < kModeCount ? &kSelect[bt] : nullptr;
    } else {
        switch (d.mode) {
        case Mode::Orbit:
            b = &kOrbit[bt];
            break;
        case Mode::Surface:
            b = &kSurface[bt];
            break;
        case Mode::Map:
            b = &kMap[bt];
            break;
        case Mode::Comms:
            b = &kComms[bt];
            break;
        }
    }
    return b && b->label ? b : nullptr;
}

void MfdModel::togglePower(int mfd)
{
    if (mfd < 0 || mfd >= kMfdCount)
        return;
    Display &d = displays_[mfd];
    d.on = !d.on;
    // Switched on again, the MFD comes back on its mode's page.
    d.page = Page::Mode;
}

bool MfdModel::processButton(int mfd, int bt, int event)
{
    Display *d = displayOn(mfd);
    if (!d || !(event & PANEL_MOUSE_LBDOWN))
        return false;
    const Button *b = ButtonOf(*d, bt);
    if (!b)
        return false;
    if (d->page == Page::Select) {
        d->mode = static_cast<Mode>(bt);
        d->page = Page::Mode;
        return true;
    }
    return b->press(*d);
}

int MfdModel::sendKey(int mfd, DWORD key)
{
    Display *d = displayOn(mfd);
    if (!d)
        return 0;
    switch (key) {
    case OAPI_KEY_F1:
        d->page = d->page == Page::Select ? Page::Mode : Page::Select;
        return 1;
    case OAPI_KEY_GRAVE:
        d->page = d->page == Page::Menu ? Page::Mode : Page::Menu;
        return 1;
    default:
        return 0;
    }
}

const char *MfdModel::buttonLabel(int mfd, int bt) const
{
    const Display *d = display(mfd);
    const Button *b = d && d->on ? ButtonOf(*d, bt) : nullptr;
    return b ? b->label : nullptr;
}

const char *MfdModel::buttonDescription(int mfd, int bt) const
{
    const Display *d = display(mfd);
    const Button *b = d && d->on ? ButtonOf(*d, bt) : nullptr;
    return b ? b->description : nullptr;
}

std::string MfdModel::title(int mfd) const
{
    const Display *d = display(mfd);
    if (!d || !d->on)
        return "";
    switch (d->page) {
    case Page::Select:
        return "Mode selection";
    case Page::Menu:
        return std::string(ModeName(d->mode)) + " buttons";
    case Page::Mode:
        break;
    }
    return ModeName(d->mode);
}

void MfdModel::ModeLines(const Display &d, std::vector<std::string> &lines)
{
    char value[32];
    switch (d.mode) {
    case Mode::Orbit:
        AddLine(lines, "Reference", kBodyNames[d.orbitReference]);
        AddLine(lines, "Frame", d.orbitEquatorialFrame ? "Equatorial" : "Ecliptic");
        AddLine(lines, "View", d.orbitListView ? "Elements" : "Orbit");
        AddLine(lines, "Distances", d.orbitAltitudes ? "Altitude" : "Radius");
        break;
    case Mode::Surface:
        AddLine(lines, "Altitude", d.surfaceGroundAltitude ? "Ground" : "Mean radius");
        AddLine(lines, "Speed", kSpeedNames[d.surfaceSpeed]);
        AddLine(lines, "Units", d.surfaceImperial ? "Imperial" : "Metric");
        break;
    case Mode::Map:
        AddLine(lines, "Reference", kBodyNames[d.mapReference]);
        std::snprintf(value, sizeof(value), "%d", d.mapZoom);
        AddLine(lines, "Zoom", value);
        AddLine(lines, "Track", d.mapTrack ? "On" : "Off");
        break;
    case Mode::Comms:
        std::snprintf(value, sizeof(value), "NAV%d", d.commsReceiver + 1);
        AddLine(lines, "Receiver", value);
        for (int i = 0; i < kNavReceivers; ++i) {
            char name[16];
            std::snprintf(name, sizeof(name), "NAV%d", i + 1);
            std::snprintf(value, sizeof(value), "%d.%02d MHz", d.commsFrequencyKhz[i] / 1000,
                          d.commsFrequencyKhz[i] % 1000 / 10);
            AddLine(lines, name, value);
        }
        break;
    }
}

std::vector<std::string> MfdModel::displayLines(int mfd) const
{
    std::vector<std::string> lines;
    const Display *d = display(mfd);
    if (!d || !d->on)
        return lines;
    switch (d->page) {
    case Page::Mode:
        ModeLines(*d, lines);
        break;
    case Page::Select:
    case Page::Menu:
        for (int bt = 0; bt < kButtonCount; ++bt) {
            const Button *b = ButtonOf(*d, bt);
            if (b) {
                char line[64];
                std::snprintf(line, sizeof(line), "%-4s %s", b->label, b->description);
                lines.push_back(line);
            }
        }
        break;
    }
    return lines;
}

} // namespace headless

// --- Host functions -------------------------------------------------------------

bool oapiProcessMFDButton(int mfd, int bt, int event)
{
    return headless::MfdModel::instance().processButton(mfd, bt, event);
}

void oapiToggleMFD_on(int mfd) { headless::MfdModel::instance().togglePower(mfd); }

int oapiSendMFDKey(int mfd, DWORD key) { return headless::MfdModel::instance().sendKey(mfd, key); }

const char *oapiMFDButtonLabel(int mfd, int bt) { return headless::MfdModel::instance().buttonLabel(mfd, bt); }
