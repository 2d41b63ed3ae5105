#include "apps/serve/control_room.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "apps/serve/key_codes.h"
#include "headless/input.h"
#include "headless/mfd.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"
#include "headless/texture_point.h"
#include "headless/vc.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace serve {

namespace {

// The tracking network's plug-in, Modules/Plugin/KorvaneNet.so, which
// --no-network leaves out.
constexpr char kNetworkPlugin[] = "KorvaneNet";

// The part of an area's rectangle that lies on its texture.
bool AreaRect(const headless::VcArea &area, const headless::Surface &texture, RECT *out)
{
    RECT r = area.rect;
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, texture.width());
    r.bottom = std::min<LONG>(r.bottom, texture.height());
    if (r.right <= r.left || r.bottom <= r.top)
        return false;
    *out = r;
    return true;
}

bool SamePixels(const headless::Surface &texture, const RECT &r, const std::vector<std::uint32_t> &pixels)
{
    const size_t w = static_cast<size_t>(r.right - r.left);
    const size_t h = static_cast<size_t>(r.bottom - r.top);
    if (pixels.size() != w * h)
        return false;
    for (size_t y = 0; y < h; ++y) {
        const std::uint32_t *row = texture.data() + (r.top + y) * static_cast<size_t>(texture.width()) + r.left;
        if (std::memcmp(row, pixels.data() + y * w, w * sizeof(std::uint32_t)) != 0)
            return false;
    }
    return true;
}

std::vector<std::uint32_t> CopyPixels(const headless::Surface &texture, const RECT &r)
{
    const size_t w = static_cast<size_t>(r.right - r.left);
    const size_t h = static_cast<size_t>(r.bottom - r.top);
    std::vector<std::uint32_t> pixels(w * h);
    for (size_t y = 0; y < h; ++y) {
        const std::uint32_t *row = texture.data() + (r.top + y) * static_cast<size_t>(texture.width()) + r.left;
        std::memcpy(pixels.data() + y * w, row, w * sizeof(std::uint32_t));
    }
    return pixels;
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

ControlRoom::ControlRoom(Hub &hub, FrameEncoder &encoder, InputQueue &inputs, ServerStats &stats)
    : hub_(hub), encoder_(encoder), inputs_(inputs), stats_(stats), texturePoint_(headless::TexturePointToVessel),
      viewWorker_(encoder, stats)
{
}

ControlRoom::~ControlRoom()
{
    viewWorker_.stop();
    headless::VirtualCockpit::instance().setRedrawListener(nullptr);
    if (sim_)
        sim_->closeVisuals();
    sim_.reset();
}

bool ControlRoom::load(const ControlRoomOptions &options, std::string *error)
{
    options_ = options;
    warp_ = std::clamp(options.warp, kMinWarp, kMaxWarp);
    headless::VirtualCockpit::instance().setRedrawListener(nullptr);
    sim_.reset();
    std::vector<std::string> skippedPlugins;
    if (!options.network)
        skippedPlugins.push_back(kNetworkPlugin);
    sim_ = std::make_unique<headless::Simulator>(options.root, skippedPlugins);
    // The pictures are painted, and what is written on them recorded, so
    // that each frame can carry its text.
    headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
    headless::ClearRecordings();
    if (!sim_->loadScenario(options.scenario, error))
        return false;
    sim_->openVisuals();
    if (!sim_->loadCockpit(options.cockpitPosition)) {
        if (error)
            *error = "the focus vessel has no virtual cockpit";
        return false;
    }
    headless::VirtualCockpit::instance().setRedrawListener(
        [this](int areaId, SURFHANDLE texture) { onRedraw(areaId, texture); });
    view_ = headless::VesselView();
    viewSpec_ = headless::ViewSpec();
    viewSpec_.fovDeg = headless::SessionFovDeg(*sim_);
    viewOn_ = options.viewRate > 0.0 && options.viewWidth > 0 && options.viewHeight > 0;
    std::string why;
    if (viewOn_ && !headless::RendererAvailable(&why)) {
        std::fprintf(stderr, "korvane-serve: no 3D view: %s\n", why.c_str());
        viewOn_ = false;
    }
    // The first picture is the slow one (the rasteriser compiles its
    // shaders, every texture is read and copied): drawn here, before the
    // clock runs, and not sent.
    if (viewOn_) {
        viewWorker_.setSize(options.viewWidth, options.viewHeight);
        if (ViewJob *job = viewWorker_.vacant()) {
            job->take(view_.gather(*sim_->focus(), viewSpec_), 0.0, Clock::now());
            viewWorker_.post(false);
        }
        viewOn_ = !viewWorker_.failed();
    }
    headless::ClearRecordings();
    viewDirty_ = true;
    sinceView_ = 1e9;
    publishLayout();
    publishChanges(true);
    return true;
}

void ControlRoom::publishLayout()
{
    CockpitLayout layout;
    const headless::VirtualCockpit &cockpit = headless::VirtualCockpit::instance();
    for (const headless::VcArea &a : cockpit.areas()) {
        if (!a.hasTexture)
            continue;
        AreaInfo info;
        info.id = a.id;
        info.width = static_cast<int>(a.rect.right - a.rect.left);
        info.height = static_cast<int>(a.rect.bottom - a.rect.top);
        if (const headless::Surface *s = headless::SurfaceFromHandle(a.texture)) {
            RECT r;
            if (AreaRect(a, *s, &r)) {
                info.width = static_cast<int>(r.right - r.left);
                info.height = static_cast<int>(r.bottom - r.top);
            }
        }
        info.clickable = (a.mouseMode & (PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBUP)) != 0;
        layout.areas.push_back(info);
    }
    for (const headless::VcMfd &m : cockpit.mfds())
        layout.mfds.push_back(m.mfd);
    std::sort(layout.mfds.begin(), layout.mfds.end());
    layout.view = viewLayout();
    OutMessagePtr hello = HelloMessage(layout, options_.scenario);
    hub_.setLayout(std::move(layout));
    hub_.publish("hello", hello);
}

void ControlRoom::step(double wallSeconds)
{
    if (!sim_)
        return;
    bool forceState = false;
    for (const QueuedInput &queued : inputs_.drain()) {
        bool wasPaused = paused_;
        double oldWarp = warp_;
        apply(queued.input);
        stats_.inputsApplied++;
        forceState = forceState || wasPaused != paused_ || oldWarp != warp_;
    }

    double wall = std::max(0.0, wallSeconds);
    double used = std::min(wall, kMaxFrameWallSeconds);
    if (!paused_)
        lagSeconds_ += wall - used; // while paused no time is owed
    headless::ClearRecordings();
    recordsSeen_ = 0;
    sim_->frame(paused_ ? 0.0 : used * warp_);
    headless::ClearRecordings();
    recordsSeen_ = 0;
    ++frames_;

    ++framesCounted_;
    sinceFpsCount_ += wall;
    if (sinceFpsCount_ >= 1.0) {
        framesPerSecond_ = framesCounted_ / sinceFpsCount_;
        framesCounted_ = 0;
        sinceFpsCount_ = 0.0;
        headless::World &world = headless::World::instance();
        stats_.setSimulation(world.simTime(), world.mjd(), framesPerSecond_, frames_, lagSeconds_);
    }
    sinceState_ += wall;
    publishChanges(forceState);
    gatherView(wall);
}

ViewLayout ControlRoom::viewLayout()
{
    ViewLayout layout;
    if (!viewOn_ || !sim_->focus())
        return layout;
    layout.width = options_.viewWidth;
    layout.height = options_.viewHeight;
    const headless::ViewCamera camera = view_.camera(*sim_->focus(), viewSpec_);
    for (const headless::VcArea &a : headless::VirtualCockpit::instance().areas()) {
        double x = 0, y = 0;
        if (a.zone == headless::VcArea::Zone::None ||
            !camera.Project(headless::VirtualCockpit::zoneCentre(a), layout.width, layout.height, &x, &y) || x < 0 ||
            y < 0 || x >= layout.width || y >= layout.height)
            continue;
        layout.zones.push_back(ViewZone{a.id, x, y});
    }
    return layout;
}

void ControlRoom::gatherView(double wallSeconds)
{
    sinceView_ += wallSeconds;
    if (viewWorker_.failed())
        viewOn_ = false;
    Vessel *focus = sim_->focus();
    if (!viewOn_ || !focus || !viewDirty_ || hub_.pageCount() == 0 || sinceView_ < 1.0 / options_.viewRate ||
        !encoder_.idle())
        return;
    ViewJob *job = viewWorker_.vacant();
    if (!job)
        return;
    Clock::time_point start = Clock::now();
    job->take(view_.gather(*focus, viewSpec_), headless::World::instance().simTime(), start);
    headless::ClearRecordings(); // the MFD displays' painting
    stats_.viewGathered(static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count()));
    viewWorker_.post();
    viewDirty_ = false;
    sinceView_ = 0.0;
}

void ControlRoom::run(const std::atomic<bool> &stop)
{
    const int fps = std::clamp(options_.framesPerSecond, 1, 1000);
    const auto tick = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / fps));
    Clock::time_point last = Clock::now();
    Clock::time_point next = last;
    viewWorker_.start();
    while (!stop.load()) {
        Clock::time_point now = Clock::now();
        step(std::chrono::duration<double>(now - last).count());
        last = now;
        next += tick;
        Clock::time_point after = Clock::now();
        if (next < after)
            next = after; // behind: the next frame starts at once and stands for the longer wait
        std::this_thread::sleep_until(next);
    }
    viewWorker_.stop();
}

void ControlRoom::apply(const PageInput &input)
{
    headless::Simulator &sim = *sim_;
    std::visit(
        Overloaded{
            [&](const ClickMessage &click) {
                const headless::VcArea *area = headless::VirtualCockpit::instance().area(click.area);
                const headless::Surface *texture = area ? headless::SurfaceFromHandle(area->texture) : nullptr;
                Vessel *focus = sim.focus();
                RECT r;
                VECTOR3 point{};
                // The area may have gone with a cockpit reload since the page
                // sent the click; the point is then nowhere.
                if (!area || !texture || !focus || !AreaRect(*area, *texture, &r)) {
                    stats_.inputsIgnored++;
                    return;
                }
                double u = (r.left + click.u * (r.right - r.left)) / texture->width();
                double v = (r.top + click.v * (r.bottom - r.top)) / texture->height();
                if (!texturePoint_ || !texturePoint_(*focus, area->texture, u, v, &point) || !sim.clickAt(point))
                    stats_.inputsIgnored++;
            },
            [&](const KeyMessage &key) {
                // The input box is modal: while it is open, keys are its own.
                if (headless::CurrentInputBox().open) {
                    stats_.inputsIgnored++;
                    return;
                }
                char state[256];
                BuildKeyState(key.keyCode, key.ctrl, key.alt, key.shift, state);
                sim.bufferedKey(key.keyCode, state);
            },
            [&](const TextMessage &text) {
                if (!headless::CurrentInputBox().open) {
                    stats_.inputsIgnored++;
                    return;
                }
                bool accepted = headless::AnswerInputBox(text.text);
                rejectedText_ = accepted ? std::string() : text.text;
            },
            [&](const CancelMessage &) {
                if (!headless::CurrentInputBox().open)
                    stats_.inputsIgnored++;
                headless::CancelInputBox();
                rejectedText_.clear();
            },
            [&](const PauseMessage &pause) { paused_ = pause.paused; },
            [&](const WarpMessage &warp) { warp_ = std::clamp(warp.warp, kMinWarp, kMaxWarp); },
            [&](const ViewClickMessage &click) {
                // The view the page clicked on is the one drawn now: the
                // cockpit's camera does not move between pictures.
                Vessel *focus = sim.focus();
                if (!viewOn_ || !focus || click.x >= options_.viewWidth || click.y >= options_.viewHeight) {
                    stats_.inputsIgnored++;
                    return;
                }
                headless::Ray ray = view_.camera(*focus, viewSpec_)
                                        .RayThroughPixel(click.x, click.y, options_.viewWidth, options_.viewHeight);
                if (!sim.clickRay(ray.origin, ray.direction))
                    stats_.inputsIgnored++;
            },
        },
        input);
}

std::vector<std::string> ControlRoom::textsSinceLastRedraw()
{
    std::vector<std::string> texts;
    const std::vector<headless::SketchpadRecord> &records = headless::Recordings();
    for (size_t i = recordsSeen_; i < records.size(); ++i)
        for (const headless::DrawCall &call : records[i].calls)
            if (call.op == headless::DrawOp::Text)
                texts.push_back(call.text);
    recordsSeen_ = records.size();
    return texts;
}

void ControlRoom::onRedraw(int areaId, SURFHANDLE textureHandle)
{
    Clock::time_point drawnAt = Clock::now();
    // The sketchpads opened since the previous redraw are this one's: the
    // simulator redraws one area at a time.
    std::vector<std::string> texts = textsSinceLastRedraw();
    const headless::VcArea *area = headless::VirtualCockpit::instance().area(areaId);
    const headless::Surface *texture = headless::SurfaceFromHandle(textureHandle);
    RECT r;
    if (!area || !texture || !AreaRect(*area, *texture, &r))
        return;
    LastPicture &last = lastPictures_[areaId];
    if (last.pixels && last.texts == texts && SamePixels(*texture, r, *last.pixels)) {
        stats_.framesUnchanged++;
        return;
    }
    AreaPicture picture;
    picture.area = areaId;
    picture.width = static_cast<int>(r.right - r.left);
    picture.height = static_cast<int>(r.bottom - r.top);
    picture.pixels = std::make_shared<const std::vector<std::uint32_t>>(CopyPixels(*texture, r));
    picture.texts = texts;
    picture.simTimeSeconds = headless::World::instance().simTime();
    picture.drawnAt = drawnAt;
    last.pixels = picture.pixels;
    last.texts = std::move(texts);
    encoder_.submit(std::move(picture));
    viewDirty_ = true;
}

SimulationState ControlRoom::currentState() const
{
    headless::World &world = headless::World::instance();
    SimulationState s;
    s.mjd = world.mjd();
    s.simTimeSeconds = world.simTime();
    s.warp = warp_;
    s.paused = paused_;
    s.focus = sim_ && sim_->focus() ? sim_->focus()->name() : std::string();
    s.framesPerSecond = framesPerSecond_;
    return s;
}

void ControlRoom::publishChanges(bool forceState)
{
    bool first = !published_;
    published_ = true;

    const headless::MfdModel &model = headless::MfdModel::instance();
    for (int mfd = 0; mfd < headless::MfdModel::kMfdCount; ++mfd) {
        MfdDisplay d;
        d.mfd = mfd;
        const headless::MfdModel::Display *display = model.display(mfd);
        d.on = display && display->on;
        d.title = model.title(mfd);
        d.lines = model.displayLines(mfd);
        if (mfdsSent_.size() <= static_cast<size_t>(mfd))
            mfdsSent_.resize(static_cast<size_t>(mfd) + 1);
        if (first || d != mfdsSent_[static_cast<size_t>(mfd)]) {
            hub_.publish(MfdStream(mfd), MfdMessage(d));
            mfdsSent_[static_cast<size_t>(mfd)] = d;
            viewDirty_ = true; // the view shows the MFD's display
        }
    }

    const headless::InputBoxRequest &request = headless::CurrentInputBox();
    if (request.open && !boxWasOpen_)
        rejectedText_.clear(); // a new box starts with nothing turned down
    boxWasOpen_ = request.open;
    InputBoxState box;
    box.open = request.open;
    if (request.open) {
        box.title = request.title;
        box.text = request.initialText;
        box.visibleLength = request.visibleLength;
        box.rejected = rejectedText_;
    }
    if (first || box != boxSent_) {
        hub_.publish("inputbox", InputBoxMessage(box));
        boxSent_ = box;
    }

    if (first || forceState || sinceState_ >= kStateIntervalSeconds) {
        sinceState_ = 0.0;
        hub_.publish("state", StateMessage(currentState()));
        std::vector<std::string> names;
        for (Vessel *v : headless::World::instance().vessels())
            names.push_back(v->name());
        if (first || names != vesselsSent_) {
            hub_.publish("vessels", VesselsMessage(names));
            vesselsSent_ = std::move(names);
        }
    }
}

} // namespace serve
