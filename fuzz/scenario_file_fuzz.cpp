// The headless simulator's scenario reader: any bytes as a scenario file,
// loaded with generic vessels only, saved, and loaded once more. The saved
// text must read back to the same vessels.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "headless/messages.h"
#include "headless/scenario.h"
#include "headless/simulator.h"
#include "headless/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    headless::MessageCapture quiet; // missing planet files, skipped lines
    std::string text(reinterpret_cast<const char *>(data), size);
    std::istringstream in(text);
    headless::ScenarioFile file;
    std::string error;
    headless::ParseScenario(in, file, &error);
    for (const headless::ScenarioShip &ship : file.ships)
        if (ship.name.empty())
            std::abort();

    // A root without modules: every class is a generic vessel.
    headless::Simulator sim("/nonexistent-korvane-root");
    if (!sim.loadScenarioText(text, &error))
        return 0;
    sim.frame(1.0);
    std::string saved = sim.saveScenarioText();
    size_t vessels = headless::World::instance().vessels().size();
    headless::Simulator again("/nonexistent-korvane-root");
    if (!again.loadScenarioText(saved, &error) || headless::World::instance().vessels().size() != vessels)
        std::abort();
    return 0;
}
