#include "apps/serve/server_stats.h"

#include <nlohmann/json.hpp>

namespace serve {

void ServerStats::setSimulation(double simTimeSeconds, double mjd, double framesPerSecond, std::uint64_t frames,
                                double lagSeconds)
{
    std::lock_guard<std::mutex> lock(simMutex_);
    simTimeSeconds_ = simTimeSeconds;
    mjd_ = mjd;
    framesPerSecond_ = framesPerSecond;
    frames_ = frames;
    lagSeconds_ = lagSeconds;
}

namespace {

void KeepLongest(std::atomic<std::uint64_t> &longest, std::uint64_t micros)
{
    std::uint64_t known = longest.load();
    while (micros > known && !longest.compare_exchange_weak(known, micros)) {
    }
}

} // namespace

void ServerStats::viewRendered(std::uint64_t micros)
{
    viewsRendered++;
    viewRenderMicros += micros;
    KeepLongest(viewRenderMaxMicros, micros);
}

void ServerStats::viewGathered(std::uint64_t micros)
{
    viewGatherMicros += micros;
    KeepLongest(viewGatherMaxMicros, micros);
}

std::string ServerStats::toJson() const
{
    nlohmann::ordered_json j;
    j["httpRequests"] = httpRequests.load();
    j["httpRefused"] = httpRefused.load();
    j["pagesOpen"] = pagesOpen.load();
    j["pagesOpened"] = pagesOpened.load();
    j["pagesRefused"] = pagesRefused.load();
    j["messagesTaken"] = messagesTaken.load();
    nlohmann::ordered_json refused;
    for (int k = 0; k < kRefusalKinds; ++k)
        refused[RefusalName(static_cast<Refusal>(k))] = refusedByKind_[k].load();
    j["messagesRefused"] = refused;
    j["inputsApplied"] = inputsApplied.load();
    j["inputsIgnored"] = inputsIgnored.load();
    j["readsPaused"] = readsPaused.load();
    j["framesEncoded"] = framesEncoded.load();
    j["framesUnchanged"] = framesUnchanged.load();
    j["framesReplaced"] = framesReplaced.load();
    j["messagesSent"] = messagesSent.load();
    j["bytesSent"] = bytesSent.load();
    j["messagesDropped"] = messagesDropped.load();
    const std::uint64_t views = viewsRendered.load();
    auto mean = [views](const Counter &micros) {
        return views ? micros.load() / 1000.0 / static_cast<double>(views) : 0.0;
    };
    j["view"] = {{"rendered", views},
                 {"drawMeanMs", mean(viewRenderMicros)},
                 {"drawMaxMs", viewRenderMaxMicros.load() / 1000.0},
                 {"gatherMeanMs", mean(viewGatherMicros)},
                 {"gatherMaxMs", viewGatherMaxMicros.load() / 1000.0}};
    std::lock_guard<std::mutex> lock(simMutex_);
    j["simulation"] = {{"simTime", simTimeSeconds_},
                       {"mjd", mjd_},
                       {"framesPerSecond", framesPerSecond_},
                       {"frames", frames_},
                       {"lagSeconds", lagSeconds_}};
    return j.dump(2) + "\n";
}

} // namespace serve
