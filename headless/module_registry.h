// The plug-in modules registered with the host (oapiRegisterModule), and
// the safe way to call them.
//
// A registration is attributed to the plug-in whose InitModule is running
// at the time, so that the host can tell, when it unloads that plug-in,
// what the plug-in failed to delete in its ExitModule. A module registered
// at another time (by a program that hosts the stand-in itself, or a test)
// belongs to no plug-in and is called until it is destroyed. A module's
// destructor takes it off the list.
//
// No exception from a module crosses back into the simulation: a callback
// that throws is reported (messages.h), and its module is not called again.
//
// One registry per process, like the world. Not thread-safe.

#ifndef KORVANE_HEADLESS_MODULE_REGISTRY_H
#define KORVANE_HEADLESS_MODULE_REGISTRY_H

#include <functional>
#include <string>
#include <vector>

#include "ModuleAPI.h"

namespace headless {

class ModuleRegistry {
public:
    static ModuleRegistry &instance();

    ModuleRegistry(const ModuleRegistry &) = delete;
    ModuleRegistry &operator=(const ModuleRegistry &) = delete;

    // The plug-in whose InitModule runs now; empty when none does.
    void setInitialising(const std::string &plugin) { initialising_ = plugin; }

    // oapiRegisterModule. A null module, or one registered already, is
    // reported and not added.
    void add(oapi::Module *module);
    // Takes module off the list (its destructor runs).
    void remove(oapi::Module *module);
    // Takes every module of plugin off the list without destroying it, and
    // returns how many there were (after its ExitModule: what the plug-in
    // failed to delete).
    size_t dropPlugin(const std::string &plugin);

    // Calls call on every registered module, in the order of registration;
    // a module removed meanwhile is skipped, one registered meanwhile waits
    // for the next callback. A callback that throws is reported with its
    // name and what it threw, and its plug-in's modules are dropped.
    void each(const char *callbackName, const std::function<void(oapi::Module &)> &call);

    size_t size() const { return entries_.size(); }
    bool registered(const oapi::Module *module) const;

private:
    ModuleRegistry() = default;

    struct Entry {
        oapi::Module *module;
        std::string plugin; // empty: registered outside a plug-in's InitModule
    };
    std::vector<Entry> entries_;
    std::string initialising_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_MODULE_REGISTRY_H
