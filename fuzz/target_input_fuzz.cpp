// The input path: any key-state array and any typed text, through Ctrl+T
// and the input box. The typed name is kept whole, and the target is valid
// exactly when the name (up to 63 characters) names a vessel.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "headless/input.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 256)
        return 0;
    headless::World &world = headless::World::instance();
    world.reset();
    headless::CurrentInputBox() = headless::InputBoxRequest{};
    for (const char *name : {"Station", "A", "Relay Sat"}) {
        Vessel *v = world.addVessel(std::make_unique<Vessel>(name, "Generic"));
        v->makeGenericInterface();
    }
    Vessel *self = world.addVessel(std::make_unique<Vessel>("Houston", "Korvane"));
    Korvane *building = new Korvane(self->handle(), 1);
    self->iface = building;

    char kstate[256];
    std::memcpy(kstate, data, sizeof(kstate));
    int used = building->clbkConsumeBufferedKey(0x14, true, kstate);
    bool boxOpen = headless::CurrentInputBox().open;
    if (boxOpen && used != 1)
        std::abort();
    std::string typed(reinterpret_cast<const char *>(data) + 256, size - 256);
    typed = typed.c_str(); // the box hands over a zero-terminated text
    if (boxOpen) {
        bool accepted = headless::AnswerInputBox(typed);
        bool exists = typed.size() < 64 && world.vesselByName(typed) != nullptr;
        if (accepted != exists || building->targetValid != exists || building->targetName != typed)
            std::abort();
    }
    delete building;
    world.reset();
    return 0;
}
