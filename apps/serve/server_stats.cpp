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
    std::lock_guard<std::mutex> lock(simMutex_);
    j["simulation"] = {{"simTime", simTimeSeconds_},
                       {"mjd", mjd_},
                       {"framesPerSecond", framesPerSecond_},
                       {"frames", frames_},
                       {"lagSeconds", lagSeconds_}};
    return j.dump(2) + "\n";
}

} // namespace serve
