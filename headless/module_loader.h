// A vessel module loaded from Modules/<name>.so, as the simulator loads its
// plug-in DLLs: InitModule after loading, ovcInit/ovcExit per vessel,
// ExitModule before unloading.

#ifndef KORVANE_HEADLESS_MODULE_LOADER_H
#define KORVANE_HEADLESS_MODULE_LOADER_H

#include <memory>
#include <string>

#include "VesselAPI.h"

namespace headless {

class ModuleLibrary {
public:
    // Loads the library at path and calls its InitModule. Null (with a
    // reason in *error) if it cannot be loaded or lacks ovcInit/ovcExit.
    static std::unique_ptr<ModuleLibrary> load(const std::string &name, const std::string &path,
                                               std::string *error);
    // Calls ExitModule and unloads the library.
    ~ModuleLibrary();

    ModuleLibrary(const ModuleLibrary &) = delete;
    ModuleLibrary &operator=(const ModuleLibrary &) = delete;

    const std::string &name() const { return name_; }
    VESSEL *createVessel(OBJHANDLE hVessel, int flightModel) const;
    void destroyVessel(VESSEL *v) const;

private:
    ModuleLibrary() = default;

    std::string name_;
    void *handle_ = nullptr;
    void (*initModule_)(HINSTANCE) = nullptr;
    void (*exitModule_)(HINSTANCE) = nullptr;
    VESSEL *(*ovcInit_)(OBJHANDLE, int) = nullptr;
    void (*ovcExit_)(VESSEL *) = nullptr;
};

} // namespace headless

#endif // KORVANE_HEADLESS_MODULE_LOADER_H
