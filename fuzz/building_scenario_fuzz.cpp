// The building's scenario lines: any bytes, split into lines, are read by
// clbkLoadStateEx and the state is saved again. Whatever the lines hold, a
// saved TARGET line must name a vessel that exists.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless/scenario.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    headless::World &world = headless::World::instance();
    world.reset();
    for (const char *name : {"Station", "ED", "target", "X"}) {
        Vessel *v = world.addVessel(std::make_unique<Vessel>(name, "Generic"));
        v->makeGenericInterface();
    }
    Vessel *self = world.addVessel(std::make_unique<Vessel>("Houston", "Korvane"));
    Korvane *building = new Korvane(self->handle(), 1);
    self->iface = building;

    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(data[i]));
    }
    headless::ScenarioBlockReader reader(lines);
    building->clbkLoadStateEx(&reader, self);

    headless::ScenarioWriter writer;
    building->clbkSaveState(&writer);
    // The building's own line, not a generic line that merely holds the word.
    const std::string saved = "\n" + writer.text();
    size_t at = saved.find("\n  TARGET ");
    if (at != std::string::npos) {
        size_t end = saved.find('\n', at + 1);
        std::string name = saved.substr(at + 10, end - at - 10);
        if (!world.vesselByName(name) || !building->targetValid)
            std::abort();
    } else if (building->targetValid) {
        std::abort(); // a valid target must be saved
    }
    delete building;
    world.reset();
    return 0;
}
