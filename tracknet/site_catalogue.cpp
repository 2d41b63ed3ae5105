#include "tracknet/site_catalogue.h"

namespace tracknet {

const std::vector<SiteEntry> &TrackingStationSites()
{
    static const std::vector<SiteEntry> sites = {
        {"Merritt-Island", 28.5081, -80.6934},
        {"Bermuda", 32.3513, -64.6580},
        {"Grand-Canary", 27.7640, -15.6345},
        {"Ascension", -7.9547, -14.3275},
        {"Tananarive", -19.0086, 47.3033},
        {"Carnarvon", -24.9076, 113.7245},
        {"Honeysuckle-Creek", -35.5833, 148.9772},
        {"Guam", 13.3097, 144.7344},
        {"Kauai", 22.1261, -159.6653},
        {"Guaymas", 27.9631, -110.7208},
        {"Corpus-Christi", 27.6533, -97.3783},
        {"Antigua", 17.0163, -61.7528},
        {"Quito", -0.6225, -78.5808},
        {"Santiago", -33.1514, -70.6664},
    };
    return sites;
}

const std::vector<SiteEntry> &DeepSpaceSites()
{
    static const std::vector<SiteEntry> sites = {
        {"Goldstone", 35.4267, -116.8900},
        {"Madrid", 40.4314, -4.2481},
        {"Canberra", -35.4014, 148.9817},
    };
    return sites;
}

const std::vector<SiteEntry> &RelaySites()
{
    static const std::vector<SiteEntry> sites = {
        {"TDRS-East", 0.0, -41.0},
        {"TDRS-West", 0.0, -171.0},
        {"TDRS-Spare-East", 0.0, -62.0},
        {"TDRS-Spare-West", 0.0, -150.0},
    };
    return sites;
}

const SiteEntry &RelayTerminalSite()
{
    static const SiteEntry site = {"White-Sands", 32.5007, -106.6086};
    return site;
}

} // namespace tracknet
