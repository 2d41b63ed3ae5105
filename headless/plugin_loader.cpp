#include "headless/plugin_loader.h"

#include <dlfcn.h>

#include <exception>

#include "headless/messages.h"
#include "headless/module_registry.h"

namespace headless {

namespace {

// Runs an entry point of a plug-in; the exception's text if it threw.
template <typename Call>
std::string Guarded(Call call)
{
    try {
        call();
    } catch (const std::exception &e) {
        return e.what();
    } catch (...) {
        return "an exception of unknown type";
    }
    return std::string();
}

} // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::load(const std::string &name, const std::string &path,
                                                   std::string *error)
{
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = dlerror();
        return nullptr;
    }
    auto initModule = reinterpret_cast<void (*)(HINSTANCE)>(dlsym(handle, "InitModule"));
    if (!initModule) {
        if (error)
            *error = path + " exports no InitModule";
        dlclose(handle);
        return nullptr;
    }
    ModuleRegistry &registry = ModuleRegistry::instance();
    registry.setInitialising(name);
    std::string thrown = Guarded([&] { initModule(handle); });
    registry.setInitialising(std::string());
    if (!thrown.empty()) {
        registry.dropPlugin(name);
        if (error)
            *error = "its InitModule threw (" + thrown + ")";
        dlclose(handle);
        return nullptr;
    }
    std::unique_ptr<PluginLibrary> lib(new PluginLibrary());
    lib->name_ = name;
    lib->handle_ = handle;
    lib->exitModule_ = reinterpret_cast<void (*)(HINSTANCE)>(dlsym(handle, "ExitModule"));
    return lib;
}

PluginLibrary::~PluginLibrary()
{
    if (exitModule_) {
        std::string thrown = Guarded([this] { exitModule_(handle_); });
        if (!thrown.empty())
            Report("plug-in " + name_ + ": its ExitModule threw (" + thrown + ")");
    }
    if (size_t left = ModuleRegistry::instance().dropPlugin(name_))
        Report("plug-in " + name_ + ": " + std::to_string(left) +
               " module(s) still registered after ExitModule (not deleted there); no longer called");
    dlclose(handle_);
}

} // namespace headless
