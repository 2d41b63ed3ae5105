// Orbiter host interface: the one header a module includes.

#ifndef KORVANE_HOST_ORBITERSDK_H
#define KORVANE_HOST_ORBITERSDK_H

#include "DrawAPI.h"
#include "OrbiterAPI.h"
#include "ModuleAPI.h"
#include "VesselAPI.h"

#endif // KORVANE_HOST_ORBITERSDK_H
