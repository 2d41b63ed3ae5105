// A host object that keeps a fixed longitude, latitude and distance from
// Earth's centre while Earth turns: a ground site of the network on the mean
// radius, or a geostationary relay satellite above its sub-satellite point.
//
// These objects live in the headless world only as long as a scenario does
// (the world drops them when it is reset) and are never saved with it: they
// belong to the network, not to the scenario.

#ifndef KORVANE_TRACKNET_SITE_OBJECT_H
#define KORVANE_TRACKNET_SITE_OBJECT_H

#include <memory>
#include <string>

#include "headless/world.h"

namespace tracknet {

// Distance of the geostationary orbit from Earth's centre.
constexpr double kGeostationaryRadiusMetres = 42164e3;

class SiteObject final : public headless::Object {
public:
    // A ground site (host type OBJTP_SURFBASE) on Earth's mean radius.
    static std::unique_ptr<SiteObject> GroundSite(std::string name, double lonDeg, double latDeg);
    // A relay satellite (host type OBJTP_GENERIC: the host does not fly or
    // save it as a vessel) on the geostationary orbit above lonDeg.
    static std::unique_ptr<SiteObject> GeostationaryRelay(std::string name, double lonDeg);

    double lonDeg() const { return lonDeg_; }
    double latDeg() const { return latDeg_; }
    double radiusMetres() const { return radiusMetres_; }

    // --- headless::Object ---------------------------------------------------
    double size() const override { return sizeMetres_; }
    double mass() const override { return massKg_; }
    // Where Earth's rotation has carried the site at the world's current
    // date, and the velocity of that co-rotation.
    VECTOR3 globalPos() const override;
    VECTOR3 globalVel() const override;

private:
    SiteObject(std::string name, int type, double lonDeg, double latDeg, double radiusMetres, double sizeMetres,
               double massKg);

    double lonDeg_;       // east positive
    double latDeg_;       // north positive
    double radiusMetres_; // from Earth's centre
    double sizeMetres_;
    double massKg_;
};

} // namespace tracknet

#endif // KORVANE_TRACKNET_SITE_OBJECT_H
