// The tracking network as a plug-in of the simulator (KorvaneNet): the
// oapi::Module that its InitModule registers.
//
// At the start of a session it attaches the network's nodes (network.h)
// and hands the network's context to every building of the session: every
// vessel of class Korvane (ignoring case) whose interface is a VESSEL3 or
// newer, through clbkGeneric(kNetworkMessageId, kHandOverMessageParam,
// context). A building created later gets it from clbkNewVessel. Each
// building is handed the context once; other vessels never are. When the
// session ends, the buildings are handed a null context, the vessels the
// network created are deleted and the network is freed.
//
// No exception leaves a callback: a failure is written to the simulator's
// log.

#ifndef KORVANE_TRACKNET_NETWORK_MODULE_H
#define KORVANE_TRACKNET_NETWORK_MODULE_H

#include <memory>
#include <vector>

#include "OrbiterAPI.h"
#include "ModuleAPI.h"
#include "tracknet/network.h"
#include "tracknet/network_layout.h"

namespace tracknet {

// The message id of the hand-over, one of the modules' own.
constexpr int kNetworkMessageId = VMSG_USER + 1;

class NetworkModule final : public oapi::Module {
public:
    explicit NetworkModule(HINSTANCE hDLL);
    ~NetworkModule() override;

    NetworkModule(const NetworkModule &) = delete;
    NetworkModule &operator=(const NetworkModule &) = delete;

    void clbkSimulationStart(RenderMode mode) override;
    void clbkSimulationEnd() override;
    void clbkNewVessel(OBJHANDLE hVessel) override;
    void clbkDeleteVessel(OBJHANDLE hVessel) override;

    // The session's network; null outside a session.
    Network *network() { return network_.get(); }
    // The buildings holding the context now.
    const std::vector<OBJHANDLE> &buildings() const { return buildings_; }

private:
    // Hands the context to vessel if it is a building not handed it yet.
    void handOver(OBJHANDLE vessel);

    std::unique_ptr<Network> network_;
    std::vector<OBJHANDLE> buildings_;
};

} // namespace tracknet

#endif // KORVANE_TRACKNET_NETWORK_MODULE_H
