// A plug-in module loaded from Modules/Plugin/<name>.so, as the simulator
// loads the plug-ins that Orbiter.cfg activates: its InitModule right after
// loading (where it registers its oapi::Module), its ExitModule before it is
// unloaded (where it deletes that module).
//
// A plug-in that cannot be loaded, exports no InitModule, or throws from
// InitModule is not loaded; the reason says which. What it left registered
// when ExitModule returns is taken off the host's list (and reported), so
// that no callback ever reaches code that is no longer loaded.

#ifndef KORVANE_HEADLESS_PLUGIN_LOADER_H
#define KORVANE_HEADLESS_PLUGIN_LOADER_H

#include <memory>
#include <string>

#include "OrbiterAPI.h"

namespace headless {

class PluginLibrary {
public:
    // Loads the library at path and runs its InitModule. Null, with the
    // reason in *error, if that fails.
    static std::unique_ptr<PluginLibrary> load(const std::string &name, const std::string &path, std::string *error);
    // Runs ExitModule and unloads the library.
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    const std::string &name() const { return name_; }

private:
    PluginLibrary() = default;

    std::string name_;
    void *handle_ = nullptr;
    void (*exitModule_)(HINSTANCE) = nullptr;
};

} // namespace headless

#endif // KORVANE_HEADLESS_PLUGIN_LOADER_H
