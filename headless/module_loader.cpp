#include "headless/module_loader.h"

#include <dlfcn.h>

namespace headless {

std::unique_ptr<ModuleLibrary> ModuleLibrary::load(const std::string &name, const std::string &path,
                                                   std::string *error)
{
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = dlerror();
        return nullptr;
    }
    std::unique_ptr<ModuleLibrary> lib(new ModuleLibrary());
    lib->name_ = name;
    lib->handle_ = handle;
    lib->initModule_ = reinterpret_cast<void (*)(HINSTANCE)>(dlsym(handle, "InitModule"));
    lib->exitModule_ = reinterpret_cast<void (*)(HINSTANCE)>(dlsym(handle, "ExitModule"));
    lib->ovcInit_ = reinterpret_cast<VESSEL *(*)(OBJHANDLE, int)>(dlsym(handle, "ovcInit"));
    lib->ovcExit_ = reinterpret_cast<void (*)(VESSEL *)>(dlsym(handle, "ovcExit"));
    if (!lib->ovcInit_ || !lib->ovcExit_) {
        if (error)
            *error = path + ": no ovcInit/ovcExit";
        lib->exitModule_ = nullptr;
        return nullptr;
    }
    if (lib->initModule_)
        lib->initModule_(handle);
    return lib;
}

ModuleLibrary::~ModuleLibrary()
{
    if (exitModule_)
        exitModule_(handle_);
    if (handle_)
        dlclose(handle_);
}

VESSEL *ModuleLibrary::createVessel(OBJHANDLE hVessel, int flightModel) const { return ovcInit_(hVessel, flightModel); }

void ModuleLibrary::destroyVessel(VESSEL *v) const { ovcExit_(v); }

} // namespace headless
