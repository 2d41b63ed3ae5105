#include "headless/module_registry.h"

#include <algorithm>
#include <exception>

#include "headless/messages.h"

namespace headless {

ModuleRegistry &ModuleRegistry::instance()
{
    static ModuleRegistry registry;
    return registry;
}

bool ModuleRegistry::registered(const oapi::Module *module) const
{
    return std::any_of(entries_.begin(), entries_.end(), [module](const Entry &e) { return e.module == module; });
}

void ModuleRegistry::add(oapi::Module *module)
{
    const std::string who = initialising_.empty() ? std::string("oapiRegisterModule") : "plug-in " + initialising_;
    if (!module) {
        Report(who + ": registered a null module: ignored");
        return;
    }
    if (registered(module)) {
        Report(who + ": registered the same module twice: the second registration is ignored");
        return;
    }
    entries_.push_back(Entry{module, initialising_});
}

void ModuleRegistry::remove(oapi::Module *module)
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [module](const Entry &e) { return e.module == module; }),
                   entries_.end());
}

size_t ModuleRegistry::dropPlugin(const std::string &plugin)
{
    size_t before = entries_.size();
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&plugin](const Entry &e) { return e.plugin == plugin; }),
                   entries_.end());
    return before - entries_.size();
}

void ModuleRegistry::each(const char *callbackName, const std::function<void(oapi::Module &)> &call)
{
    std::vector<Entry> snapshot = entries_;
    for (const Entry &entry : snapshot) {
        if (!registered(entry.module))
            continue;
        std::string failure;
        try {
            call(*entry.module);
        } catch (const std::exception &e) {
            failure = e.what();
        } catch (...) {
            failure = "an exception of unknown type";
        }
        if (failure.empty())
            continue;
        Report((entry.plugin.empty() ? std::string("a module") : "plug-in " + entry.plugin) + ": " + callbackName +
               " threw (" + failure + "): its module is no longer called");
        if (entry.plugin.empty())
            remove(entry.module);
        else
            dropPlugin(entry.plugin);
    }
}

} // namespace headless
