#include "tracknet/installer.h"

#include <utility>

namespace tracknet {

void InstallOnLoad(headless::Simulator &sim, std::shared_ptr<Network> network)
{
    sim.addLoadListener([network = std::move(network)](headless::Simulator &) {
        network->populate();
        network->handOver();
    });
}

} // namespace tracknet
