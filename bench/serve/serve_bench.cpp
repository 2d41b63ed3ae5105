// The live server's figures, measured on the whole path: the default
// scenario running in real time in korvane-serve's control room, its frames
// encoded and sent over loopback WebSockets to clients that read them as a
// page does.
//
//   serve_bench                  every benchmark, then the table
//   KORVANE_SERVE_BENCH_SECONDS  wall-clock seconds each run lasts (default 20)
//
// A frame's latency is the time from the module's redraw (the moment
// clbkVCRedrawEvent returned with the new picture, stamped in the frame's
// header) to the moment a client has the whole frame message; server and
// clients share this process's steady clock. The 3D view's frames (stream
// "view", on by default as in korvane-serve) are counted apart: theirs runs
// from the moment the simulation thread gathered the view's input.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <nlohmann/json.hpp>

#include "apps/serve/control_room.h"
#include "apps/serve/png_encoding.h"
#include "apps/serve/web_server.h"
#include "headless/surfaces.h"
#include "headless/vc.h"
#include "headless/world.h"

namespace {

namespace beast = boost::beast;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;

double RunSeconds()
{
    const char *s = std::getenv("KORVANE_SERVE_BENCH_SECONDS");
    double v = s ? std::atof(s) : 0.0;
    return v > 0.0 ? v : 20.0;
}

// A page that reads every message as it comes, noting each frame's latency.
class Watcher {
public:
    explicit Watcher(unsigned short port) : port_(port) { thread_ = std::thread([this] { run(); }); }
    ~Watcher() { join(); }
    // Waits for the reading to end (the server closed the connection).
    void join()
    {
        if (thread_.joinable())
            thread_.join();
    }

    bool connected() const { return connected_.load(); }
    std::vector<double> latenciesMs() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return latenciesMs_;
    }
    std::map<int, int> framesByArea() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return framesByArea_;
    }
    std::vector<double> viewLatenciesMs() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return viewLatenciesMs_;
    }
    // Only frames drawn from this moment on count.
    void startCounting() { counting_.store(true); }

private:
    void run()
    {
        net::io_context ioc;
        websocket::stream<tcp::socket> ws(ioc);
        beast::error_code ec;
        ws.next_layer().connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port_), ec);
        if (!ec)
            ws.handshake("127.0.0.1:" + std::to_string(port_), "/ws", ec);
        if (ec)
            return;
        connected_.store(true);
        beast::flat_buffer buffer;
        for (;;) {
            buffer.clear();
            ws.read(buffer, ec);
            if (ec)
                return; // the server has gone
            auto now = serve::Clock::now();
            if (!ws.got_binary() || !counting_.load())
                continue;
            std::string bytes = beast::buffers_to_string(buffer.data());
            std::string_view header, image;
            if (!serve::SplitFrameMessage(bytes, &header, &image))
                continue;
            nlohmann::json h = nlohmann::json::parse(header);
            double ms = (serve::ClockMicroseconds(now) - h["drawnAtUs"].get<std::int64_t>()) / 1000.0;
            std::lock_guard<std::mutex> lock(mutex_);
            if (h["stream"] == "view") {
                viewLatenciesMs_.push_back(ms);
                continue;
            }
            latenciesMs_.push_back(ms);
            framesByArea_[h["area"].get<int>()]++;
        }
    }

    unsigned short port_;
    std::thread thread_;
    std::atomic<bool> connected_{false};
    std::atomic<bool> counting_{false};
    mutable std::mutex mutex_;
    std::vector<double> latenciesMs_;
    std::map<int, int> framesByArea_;
    std::vector<double> viewLatenciesMs_;
};

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1.0;
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(p * (v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

struct RunFigures {
    double simPerWall = 0.0;      // simulated seconds per wall-clock second
    double lagSeconds = 0.0;      // wall-clock time the simulation could not keep up with
    double loopFramesPerSecond = 0.0;
    double minPageFramesPerSecond = 0.0; // the slowest page's frames per second, all areas
    double minScreenFramesPerSecond = 0.0; // the slowest page's slowest screen
    std::vector<double> latenciesMs; // every page's frames of the cockpit's areas
    std::vector<double> viewLatenciesMs; // every page's frames of the 3D view
    double minViewFramesPerSecond = 0.0; // the slowest page's
    std::uint64_t viewsRendered = 0;
    double viewRenderMeanMs = 0.0, viewRenderMaxMs = 0.0; // by the view worker
    double viewGatherMeanMs = 0.0, viewGatherMaxMs = 0.0; // on the simulation thread
};

// The server as korvane-serve runs it, with `pages` watchers, for the run's
// length of wall-clock time.
bool RunServer(int pages, RunFigures *out, std::string *error, bool view = true)
{
    serve::Hub hub;
    serve::ServerStats stats;
    serve::InputQueue inputs(256);
    serve::FrameEncoder encoder(hub, stats);
    auto room = std::make_unique<serve::ControlRoom>(hub, encoder, inputs, stats);
    serve::ControlRoomOptions options;
    if (!view)
        options.viewRate = 0.0;
    if (!room->load(options, error))
        return false;
    serve::WebServerOptions webOptions;
    webOptions.port = 0;
    auto web = std::make_unique<serve::WebServer>(hub, inputs, stats, webOptions);
    if (!web->start(error))
        return false;
    encoder.start();
    std::vector<std::unique_ptr<Watcher>> watchers;
    for (int i = 0; i < pages; ++i)
        watchers.push_back(std::make_unique<Watcher>(web->port()));

    std::atomic<bool> stop{false};
    // The simulation is read only from its own thread while it runs: the
    // figures are taken over the whole run, before and after it.
    double sim0 = headless::World::instance().simTime();
    auto wall0 = serve::Clock::now();
    std::thread loop([&] { room->run(stop); });
    // Latencies count once every page is connected and has had the first
    // pictures, which every page gets at once on connecting.
    while (std::any_of(watchers.begin(), watchers.end(), [](const auto &w) { return !w->connected(); }) &&
           serve::Clock::now() - wall0 < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    for (auto &w : watchers)
        w->startCounting();
    std::this_thread::sleep_for(std::chrono::duration<double>(RunSeconds()));
    stop.store(true);
    loop.join();
    double wall = std::chrono::duration<double>(serve::Clock::now() - wall0).count();
    out->simPerWall = (headless::World::instance().simTime() - sim0) / wall;
    out->lagSeconds = room->lagSeconds();
    out->loopFramesPerSecond = static_cast<double>(room->frames()) / wall;
    double counted = RunSeconds(); // the pages' frames are counted over the last part of the run
    encoder.stop();
    web.reset(); // closes every page's connection
    out->viewsRendered = stats.viewsRendered.load();
    out->viewRenderMeanMs = out->viewsRendered ? stats.viewRenderMicros.load() / 1000.0 / out->viewsRendered : 0.0;
    out->viewRenderMaxMs = stats.viewRenderMaxMicros.load() / 1000.0;
    out->viewGatherMeanMs = out->viewsRendered ? stats.viewGatherMicros.load() / 1000.0 / out->viewsRendered : 0.0;
    out->viewGatherMaxMs = stats.viewGatherMaxMicros.load() / 1000.0;
    out->minPageFramesPerSecond = 1e9;
    out->minScreenFramesPerSecond = 1e9;
    out->minViewFramesPerSecond = 1e9;
    for (auto &w : watchers) {
        w->join();
        std::vector<double> l = w->latenciesMs();
        out->latenciesMs.insert(out->latenciesMs.end(), l.begin(), l.end());
        std::vector<double> v = w->viewLatenciesMs();
        out->viewLatenciesMs.insert(out->viewLatenciesMs.end(), v.begin(), v.end());
        out->minViewFramesPerSecond = std::min(out->minViewFramesPerSecond, v.size() / counted);
        std::map<int, int> byArea = w->framesByArea();
        int total = 0;
        for (const auto &entry : byArea)
            total += entry.second;
        out->minPageFramesPerSecond = std::min(out->minPageFramesPerSecond, total / counted);
        for (int screen : {0, 1, 2})
            out->minScreenFramesPerSecond = std::min(out->minScreenFramesPerSecond, byArea[screen] / counted);
    }
    return true;
}

class InRoot {
public:
    InRoot()
    {
        ok_ = getcwd(saved_, sizeof(saved_)) && chdir(KORVANE_ROOT_DIR) == 0;
    }
    ~InRoot()
    {
        if (ok_ && chdir(saved_) != 0)
            std::fprintf(stderr, "cannot return to %s\n", saved_);
    }
    bool ok() const { return ok_; }

private:
    char saved_[PATH_MAX];
    bool ok_ = false;
};

std::map<std::string, double> gFigures; // for the table

void BM_RedrawToFrameOneWatcher(benchmark::State &state)
{
    InRoot root;
    for (auto _ : state) {
        RunFigures f;
        std::string error;
        if (!root.ok() || !RunServer(1, &f, &error)) {
            state.SkipWithError(error.empty() ? "no simulator root" : error.c_str());
            return;
        }
        state.counters["frames"] = static_cast<double>(f.latenciesMs.size());
        state.counters["p50_ms"] = gFigures["one_p50"] = Percentile(f.latenciesMs, 0.50);
        state.counters["p95_ms"] = gFigures["one_p95"] = Percentile(f.latenciesMs, 0.95);
        state.counters["max_ms"] = Percentile(f.latenciesMs, 1.0);
        state.counters["loop_fps"] = gFigures["one_loop_fps"] = f.loopFramesPerSecond;
        state.counters["view_fps"] = gFigures["one_view_fps"] = f.minViewFramesPerSecond;
        state.counters["view_p95_ms"] = gFigures["one_view_p95"] = Percentile(f.viewLatenciesMs, 0.95);
        state.counters["view_draw_ms"] = gFigures["one_view_draw_mean"] = f.viewRenderMeanMs;
        state.counters["view_gather_ms"] = gFigures["one_view_gather_mean"] = f.viewGatherMeanMs;
        state.counters["view_gather_max_ms"] = gFigures["one_view_gather_max"] = f.viewGatherMaxMs;
    }
}
BENCHMARK(BM_RedrawToFrameOneWatcher)->Unit(benchmark::kSecond)->Iterations(1);

// The same without the 3D view, for comparison.
void BM_RedrawToFrameOneWatcherNoView(benchmark::State &state)
{
    InRoot root;
    for (auto _ : state) {
        RunFigures f;
        std::string error;
        if (!root.ok() || !RunServer(1, &f, &error, false)) {
            state.SkipWithError(error.empty() ? "no simulator root" : error.c_str());
            return;
        }
        state.counters["p95_ms"] = gFigures["one_noview_p95"] = Percentile(f.latenciesMs, 0.95);
        state.counters["loop_fps"] = gFigures["one_noview_loop_fps"] = f.loopFramesPerSecond;
    }
}
BENCHMARK(BM_RedrawToFrameOneWatcherNoView)->Unit(benchmark::kSecond)->Iterations(1);

void BM_TwentyWatchers(benchmark::State &state)
{
    InRoot root;
    for (auto _ : state) {
        RunFigures f;
        std::string error;
        if (!root.ok() || !RunServer(20, &f, &error)) {
            state.SkipWithError(error.empty() ? "no simulator root" : error.c_str());
            return;
        }
        state.counters["sim_per_wall"] = gFigures["twenty_sim_per_wall"] = f.simPerWall;
        state.counters["lag_s"] = gFigures["twenty_lag"] = f.lagSeconds;
        state.counters["loop_fps"] = gFigures["twenty_loop_fps"] = f.loopFramesPerSecond;
        state.counters["page_fps_min"] = gFigures["twenty_page_fps"] = f.minPageFramesPerSecond;
        state.counters["screen_fps_min"] = gFigures["twenty_screen_fps"] = f.minScreenFramesPerSecond;
        state.counters["p95_ms"] = gFigures["twenty_p95"] = Percentile(f.latenciesMs, 0.95);
        state.counters["view_fps_min"] = gFigures["twenty_view_fps"] = f.minViewFramesPerSecond;
        state.counters["view_gather_max_ms"] = gFigures["twenty_view_gather_max"] = f.viewGatherMaxMs;
    }
}
BENCHMARK(BM_TwentyWatchers)->Unit(benchmark::kSecond)->Iterations(1);

// The picture of screen 0 after a few seconds of the default scenario.
std::vector<std::uint32_t> Screen0Picture()
{
    serve::Hub hub;
    serve::ServerStats stats;
    serve::InputQueue inputs(16);
    serve::FrameEncoder encoder(hub, stats);
    serve::ControlRoom room(hub, encoder, inputs, stats);
    std::string error;
    std::vector<std::uint32_t> pixels;
    if (!room.load(serve::ControlRoomOptions(), &error))
        return pixels;
    for (int i = 0; i < 10; ++i)
        room.step(0.2);
    const headless::VcArea *area = headless::VirtualCockpit::instance().area(0);
    const headless::Surface *s = area ? headless::SurfaceFromHandle(area->texture) : nullptr;
    if (s)
        pixels.assign(s->data(), s->data() + static_cast<size_t>(s->width()) * s->height());
    return pixels;
}

void BM_EncodeScreenPng(benchmark::State &state)
{
    InRoot root;
    std::vector<std::uint32_t> pixels = Screen0Picture();
    if (pixels.size() != 1024u * 1024u) {
        state.SkipWithError("no picture of screen 0");
        return;
    }
    std::string png;
    for (auto _ : state)
        serve::EncodePng(pixels.data(), 1024, 1024, 1024, &png);
    state.counters["png_kB"] = png.size() / 1024.0;
}
BENCHMARK(BM_EncodeScreenPng)->Unit(benchmark::kMillisecond);

class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.benchmark_name() == "BM_EncodeScreenPng")
                gFigures["encode_ms"] = run.GetAdjustedRealTime();
    }
};

void PrintTable()
{
    struct Row {
        const char *figure;
        const char *key;
        const char *unit;
        double target;
        bool atLeast;
    };
    const Row rows[] = {
        {"redraw to frame received, 95th percentile, 1 watcher", "one_p95", "ms", 50.0, false},
        {"redraw to frame received, median, 1 watcher", "one_p50", "ms", -1.0, false},
        {"simulation frames per s, 1 watcher", "one_loop_fps", "", -1.0, false},
        {"3D view frames per s received, 1 watcher", "one_view_fps", "", -1.0, false},
        {"3D view drawn by its worker, mean", "one_view_draw_mean", "ms", -1.0, false},
        {"3D view gathered on the simulation thread, mean", "one_view_gather_mean", "ms", -1.0, false},
        {"3D view gathered on the simulation thread, longest", "one_view_gather_max", "ms", -1.0, false},
        {"3D view from gathering to frame received, 95th percentile", "one_view_p95", "ms", -1.0, false},
        {"without the 3D view: redraw to frame, 95th percentile, 1 watcher", "one_noview_p95", "ms", 50.0, false},
        {"without the 3D view: simulation frames per s, 1 watcher", "one_noview_loop_fps", "", -1.0, false},
        {"simulated s per wall-clock s, 20 watchers", "twenty_sim_per_wall", "", 0.99, true},
        {"simulation lag, 20 watchers", "twenty_lag", "s", -1.0, false},
        {"simulation frames per s, 20 watchers", "twenty_loop_fps", "", -1.0, false},
        {"frames per s of the slowest of 20 watchers", "twenty_page_fps", "", 2.0, true},
        {"frames per s of its slowest screen", "twenty_screen_fps", "", -1.0, false},
        {"redraw to frame received, 95th percentile, 20 watchers", "twenty_p95", "ms", -1.0, false},
        {"3D view frames per s of the slowest of 20 watchers", "twenty_view_fps", "", -1.0, false},
        {"3D view gathered on the simulation thread, longest, 20 watchers", "twenty_view_gather_max", "ms", -1.0, false},
        {"PNG encoding of screen 0 (1024 x 1024)", "encode_ms", "ms", -1.0, false},
    };
    std::printf("\n| Figure | Measured | Target | Met |\n|---|---|---|---|\n");
    for (const Row &row : rows) {
        auto it = gFigures.find(row.key);
        if (it == gFigures.end()) {
            std::printf("| %s | not run | | |\n", row.figure);
            continue;
        }
        if (row.target < 0) {
            std::printf("| %s | %.3g %s | | |\n", row.figure, it->second, row.unit);
            continue;
        }
        bool met = row.atLeast ? it->second >= row.target : it->second < row.target;
        std::printf("| %s | %.3g %s | %s %g %s | %s |\n", row.figure, it->second, row.unit, row.atLeast ? ">=" : "<",
                    row.target, row.unit, met ? "yes" : "NO");
    }
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintTable();
    return 0;
}
