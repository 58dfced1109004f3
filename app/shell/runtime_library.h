#pragma once
// A shared library opened when a feature first needs it rather than at start-up, with its
// functions looked up by name.
#include <string>

typedef struct _GModule GModule;

namespace zentrik::app {

class RuntimeLibrary {
  public:
    // Opens `soname` with lazy binding, keeping its symbols out of the global scope. An opened
    // library stays loaded for the rest of the process: GObject types it registers cannot go.
    explicit RuntimeLibrary(const char* soname);
    RuntimeLibrary(const RuntimeLibrary&) = delete;
    RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

    bool is_open() const { return module_ != nullptr; }

    // Sets `fn` to the library's function `name`; false, with `fn` null, when the library is
    // not open or lacks it. `fn`'s type comes from the library's header, so it is checked there.
    template <typename Function>
    bool bind(Function*& fn, const char* name) {
        fn = reinterpret_cast<Function*>(symbol(name));
        return fn != nullptr;
    }

    // Why the library or the last function looked up could not be had, in one line.
    const std::string& error() const { return error_; }

  private:
    void* symbol(const char* name);
    void set_error(const char* what);

    GModule* module_ = nullptr;
    std::string error_;
};

// Binds the member `table.fn` to the library's function of the same name.
#define ZENTRIK_BIND(library, table, fn) (library).bind((table).fn, #fn)

// "zentrik: <why the library cannot be had>; <without_it>" on stderr.
void report_missing(const RuntimeLibrary& library, const char* without_it);

// Opens `soname` and fills a table of its functions with `bind_all(library, table)`, once per
// table type; later calls return the same answer. Null when the library or a function is
// missing, said once on stderr followed by `without_it` (what the program does instead).
template <typename Table, typename BindAll>
const Table* load_function_table(const char* soname, const char* without_it, BindAll bind_all) {
    static RuntimeLibrary library(soname);
    static Table table;
    static const Table* const loaded = [&]() -> const Table* {
        if (bind_all(library, table))
            return &table;
        report_missing(library, without_it);
        return nullptr;
    }();
    return loaded;
}

}  // namespace zentrik::app
