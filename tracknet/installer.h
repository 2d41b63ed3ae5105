// Ties the reference tracking network to a headless simulator session, the
// way the network's module joins the simulator: after every scenario load it
// puts its stations and satellites into the new world and hands itself over
// to the buildings.

#ifndef KORVANE_TRACKNET_INSTALLER_H
#define KORVANE_TRACKNET_INSTALLER_H

#include <memory>

#include "headless/simulator.h"
#include "tracknet/network.h"

namespace tracknet {

// Adds a load listener to sim that runs network->populate() and then
// network->handOver() after each scenario load. The simulator keeps a share
// of the network until it is destroyed, after its buildings, so the context
// the buildings hold stays valid as long as they do.
void InstallOnLoad(headless::Simulator &sim, std::shared_ptr<Network> network);

} // namespace tracknet

#endif // KORVANE_TRACKNET_INSTALLER_H
