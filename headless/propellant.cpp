#include "headless/propellant.h"

#include <cmath>

namespace headless {

bool PropellantTanks::add(double maxMassKg, double massKg)
{
    if (tanks_.size() >= kMaxTanksPerVessel)
        return false;
    tanks_.push_back(Tank{maxMassKg, std::fmin(maxMassKg, massKg)});
    index_.emplace(&tanks_.back(), tanks_.size() - 1);
    return true;
}

PROPELLANT_HANDLE PropellantTanks::handle(size_t index) const
{
    if (index >= tanks_.size())
        return nullptr;
    return const_cast<Tank *>(&tanks_[index]);
}

const PropellantTanks::Tank *PropellantTanks::fromHandle(PROPELLANT_HANDLE h) const
{
    auto it = index_.find(h);
    return it == index_.end() ? nullptr : &tanks_[it->second];
}

double PropellantTanks::totalMass() const
{
    double m = 0.0;
    for (const Tank &t : tanks_)
        m += t.massKg;
    return m;
}

void PropellantTanks::drain(double kg)
{
    for (Tank &t : tanks_) {
        if (kg <= 0.0)
            break;
        double take = std::fmin(kg, t.massKg);
        t.massKg -= take;
        kg -= take;
    }
}

} // namespace headless
