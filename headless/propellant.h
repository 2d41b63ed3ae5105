// A vessel's propellant tanks, reached by index and by handle.
//
// A tank's handle (PROPELLANT_HANDLE) is its address. Tanks live in a deque,
// which keeps its elements in place when it grows at the end, so a handle
// stays valid while tanks are added. A handle is turned back into a tank only
// through the table of this vessel's handles, in constant time, so a handle
// of another vessel or any other pointer is refused and never dereferenced.

#ifndef KORVANE_HEADLESS_PROPELLANT_H
#define KORVANE_HEADLESS_PROPELLANT_H

#include <cstddef>
#include <deque>
#include <unordered_map>

#include "OrbiterAPI.h"

namespace headless {

// The most tanks one vessel may have: far beyond any spacecraft, but a bound
// on what a hostile scenario or class file can make the host keep.
constexpr size_t kMaxTanksPerVessel = 100000;

class PropellantTanks {
public:
    struct Tank {
        double maxMassKg;
        double massKg;
    };

    PropellantTanks() = default;
    PropellantTanks(const PropellantTanks &) = delete;
    PropellantTanks &operator=(const PropellantTanks &) = delete;

    // Adds a tank holding min(massKg, maxMassKg). False, and nothing added,
    // once kMaxTanksPerVessel tanks exist.
    bool add(double maxMassKg, double massKg);

    size_t size() const { return tanks_.size(); }
    bool empty() const { return tanks_.empty(); }
    // REQUIRES: index < size().
    Tank &operator[](size_t index) { return tanks_[index]; }
    const Tank &operator[](size_t index) const { return tanks_[index]; }

    // The handle of tank index, or null beyond the last tank.
    PROPELLANT_HANDLE handle(size_t index) const;
    // The tank of a handle, or null unless it is one of these tanks.
    const Tank *fromHandle(PROPELLANT_HANDLE h) const;

    // The propellant in all tanks (kg).
    double totalMass() const;
    // Takes kg of propellant, emptying the tanks in order; as much as there is.
    void drain(double kg);

private:
    std::deque<Tank> tanks_;
    std::unordered_map<const void *, size_t> index_; // handle -> position in tanks_
};

} // namespace headless

#endif // KORVANE_HEADLESS_PROPELLANT_H
