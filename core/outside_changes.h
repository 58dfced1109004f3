#pragma once
// Changes another program (zentrikctl, a window of another session) made to a mouse: what it
// tells the running window, and how the window follows. The window reads again only what
// changed, on a worker inside the mouse's lock, and only when the change is for the mouse it
// shows.
//
// A value the user is editing when such a change arrives stays the user's: a profile name in
// the open name editor, a DPI level, report rate or wheel rate still waiting for its write. It
// is written when the edit ends, and a note then says that it replaced the other program's
// value. A macro name being edited is written only while the slot still holds the macro the
// user saw (else the user is told and nothing is done); the macro in the editor is never
// touched. Everything the user is not editing follows at once.
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace zentrik::core {

class Session;

enum OutsideChangeKind : unsigned {
    kChangedNames = 1u << 0,       // profile names (`index`: the profile, -1 all)
    kChangedButtons = 1u << 1,     // buttons (`index`: the profile, -1 all)
    kChangedProfile = 1u << 2,     // the current profile
    kChangedLevel = 1u << 3,       // the current DPI level
    kChangedDpi = 1u << 4,         // a DPI level's resolution (`index`: the level)
    kChangedRate = 1u << 5,        // report rate and angle snapping
    kChangedWheel = 1u << 6,       // wheel rate
    kChangedMacros = 1u << 7,      // the macro directory (and buttons re-pointed or reset)
    kChangedEverything = 1u << 8,  // a restore or reset: the whole mouse
};

struct OutsideChange {
    unsigned kinds = 0;
    int index = -1;
    std::string mouse;  // the mouse's lock key (HidBackend::lock_key)
};

// The change as one line of text for the instance channel, and back (nullopt for a text that
// is not one).
std::string encode_outside_change(const OutsideChange& change);
std::optional<OutsideChange> decode_outside_change(const std::string& text);

// What the user was editing when another program changed it ("profile name 2", "dpi x",
// "dpi y", "rate", "wheel", "macro name"), until the user's value is written.
class ContestedEdits {
  public:
    void mark(const std::string& what);
    // Whether `what` was marked; forgets it.
    bool take(const std::string& what);

  private:
    std::mutex mutex_;
    std::set<std::string> marked_;
};

// The note shown once the user's value replaced the other program's.
std::string contested_note();

// Follows `change` when it is for the selected mouse (else nothing): see above.
void follow_outside_change(Session& session, const OutsideChange& change);

}  // namespace zentrik::core
