#include "app/shell/runtime_library.h"

#include <gmodule.h>

namespace zentrik::app {

RuntimeLibrary::RuntimeLibrary(const char* soname)
    : module_(g_module_open(soname,
                            static_cast<GModuleFlags>(G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL))) {
    if (module_)
        g_module_make_resident(module_);
    else
        set_error(soname);
}

void RuntimeLibrary::set_error(const char* what) {
    const gchar* why = g_module_error();
    error_ = why ? why : std::string(what) + ": not found";
}

void report_missing(const RuntimeLibrary& library, const char* without_it) {
    g_printerr("zentrik: %s; %s\n", library.error().c_str(), without_it);
}

void* RuntimeLibrary::symbol(const char* name) {
    if (!module_)
        return nullptr;
    gpointer found = nullptr;
    if (!g_module_symbol(module_, name, &found) || !found) {
        set_error(name);
        return nullptr;
    }
    return found;
}

}  // namespace zentrik::app
