#include "headless/module_loader.h"

#include <dlfcn.h>
#include <fstream>
#include <strings.h>

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

std::string ModuleOfClassConfig(const std::string &cfgPath)
{
    std::ifstream in(cfgPath);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        auto trim = [](std::string &s) {
            size_t b = s.find_first_not_of(" \t\r");
            size_t e = s.find_last_not_of(" \t\r");
            s = b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
        };
        trim(key);
        trim(value);
        if (strcasecmp(key.c_str(), "Module") == 0)
            return value;
    }
    return std::string();
}

} // namespace headless
