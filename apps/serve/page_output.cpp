#include "apps/serve/page_output.h"

#include <nlohmann/json.hpp>

#include "apps/serve/key_codes.h"

namespace serve {

namespace {

using nlohmann::ordered_json;

OutMessagePtr Text(const ordered_json &j)
{
    auto m = std::make_shared<OutMessage>();
    m->bytes = j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    return m;
}

ordered_json Typed(const char *type)
{
    ordered_json j;
    j["type"] = type;
    return j;
}

} // namespace

ClickableAreas CockpitLayout::clickable() const
{
    ClickableAreas c;
    for (const AreaInfo &a : areas)
        if (a.clickable)
            c.ids.push_back(a.id);
    c.viewWidth = view.width;
    c.viewHeight = view.height;
    return c;
}

std::string AreaStream(int areaId) { return "area/" + std::to_string(areaId); }
std::string MfdStream(int mfd) { return "mfd/" + std::to_string(mfd); }

OutMessagePtr HelloMessage(const CockpitLayout &layout, const std::string &scenario)
{
    ordered_json j = Typed("hello");
    j["protocol"] = kProtocolVersion;
    j["scenario"] = scenario;
    ordered_json areas = ordered_json::array();
    for (const AreaInfo &a : layout.areas)
        areas.push_back({{"id", a.id}, {"width", a.width}, {"height", a.height}, {"clickable", a.clickable}});
    j["areas"] = areas;
    j["mfds"] = layout.mfds;
    ordered_json zones = ordered_json::array();
    for (const ViewZone &z : layout.view.zones)
        zones.push_back({{"area", z.area}, {"x", z.x}, {"y", z.y}});
    j["view"] = {{"width", layout.view.width}, {"height", layout.view.height}, {"zones", zones}};
    j["limits"] = {{"maxMessageBytes", kMaxMessageBytes},
                   {"maxTextBytes", kMaxTextBytes},
                   {"minWarp", kMinWarp},
                   {"maxWarp", kMaxWarp}};
    j["keys"] = KeyNames();
    return Text(j);
}

OutMessagePtr StateMessage(const SimulationState &s)
{
    ordered_json j = Typed("state");
    j["mjd"] = s.mjd;
    j["simTime"] = s.simTimeSeconds;
    j["warp"] = s.warp;
    j["paused"] = s.paused;
    j["focus"] = s.focus;
    j["framesPerSecond"] = s.framesPerSecond;
    return Text(j);
}

OutMessagePtr MfdMessage(const MfdDisplay &d)
{
    ordered_json j = Typed("mfd");
    j["mfd"] = d.mfd;
    j["on"] = d.on;
    j["title"] = d.title;
    j["lines"] = d.lines;
    return Text(j);
}

OutMessagePtr InputBoxMessage(const InputBoxState &b)
{
    ordered_json j = Typed("inputbox");
    j["open"] = b.open;
    j["title"] = b.title;
    j["text"] = b.text;
    j["visibleLength"] = b.visibleLength;
    j["rejected"] = b.rejected;
    return Text(j);
}

OutMessagePtr VesselsMessage(const std::vector<std::string> &names)
{
    ordered_json j = Typed("vessels");
    j["names"] = names;
    return Text(j);
}

OutMessagePtr FrameMessage(const FrameHeader &h, std::string_view png)
{
    ordered_json j = Typed("frame");
    j["stream"] = h.stream;
    j["area"] = h.area;
    j["seq"] = h.seq;
    j["drawnAtUs"] = h.drawnAtUs;
    j["simTime"] = h.simTimeSeconds;
    j["width"] = h.width;
    j["height"] = h.height;
    j["format"] = "png";
    j["texts"] = h.texts;
    std::string header = j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    auto m = std::make_shared<OutMessage>();
    m->binary = true;
    m->bytes.reserve(4 + header.size() + png.size());
    const auto n = static_cast<std::uint32_t>(header.size());
    for (int shift = 0; shift < 32; shift += 8)
        m->bytes.push_back(static_cast<char>((n >> shift) & 0xFF));
    m->bytes += header;
    m->bytes.append(png.data(), png.size());
    return m;
}

bool SplitFrameMessage(std::string_view bytes, std::string_view *header, std::string_view *image)
{
    if (bytes.size() < 4)
        return false;
    std::uint64_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    if (n > bytes.size() - 4)
        return false;
    *header = bytes.substr(4, n);
    *image = bytes.substr(4 + n);
    return true;
}

} // namespace serve
