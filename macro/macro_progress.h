#pragma once
// Where the macro memory's long operations report their progress.
#include <string>

namespace zentrik::macro {

// The default shows nothing.
class MacroProgress {
  public:
    virtual ~MacroProgress() = default;
    virtual void begin(const std::string& message) { (void)message; }
    virtual void update(double fraction) { (void)fraction; }
    virtual void end() {}
};

// Shows the progress for the life of an operation, however it ends.
class MacroProgressScope {
  public:
    MacroProgressScope(MacroProgress& p, const std::string& message) : p_(p) { p_.begin(message); }
    ~MacroProgressScope() { p_.end(); }
    MacroProgressScope(const MacroProgressScope&) = delete;
    MacroProgressScope& operator=(const MacroProgressScope&) = delete;

  private:
    MacroProgress& p_;
};

}  // namespace zentrik::macro
