#pragma once
// A profile between a mouse and a profile file (core/profile_document.h): exporting reads the
// profile's name, buttons and the macros they run; importing plans every macro's slot first
// (reusing a slot that already holds the same code) and writes only when all of it fits and
// the mouse has every function the profile uses. Both run on the calling thread and expect
// the caller to hold the mouse's lock (device/mouse_lock.h) for the whole call.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/profile_document.h"
#include "device/mouse_models.h"
#include "device/zklib.h"
#include "macro/macro_directory.h"

namespace zentrik::core {

// How a transfer ended. `device_failed` tells a failed exchange from a refusal of the file or
// the mouse's state; nothing was written when `written` is false.
struct ProfileTransferResult {
    bool ok = false;
    bool device_failed = false;
    bool written = false;
    std::string error;
};

// Profile `profile` (0-4) of the mouse at `path` as a document, into `document`.
ProfileTransferResult export_profile(device::zklib& lib, const std::string& path, int profile,
                                     ProfileDocument& document);

// Where macro `macro` of a document goes: `slot`, at `address`; `reused` when the slot
// already holds the same code (nothing is written for it).
struct MacroPlacement {
    int macro = 0;
    int slot = 0;
    int address = 0;
    bool reused = false;
};

struct ImportPlan {
    std::vector<MacroPlacement> placements;  // one per macro of the document
    std::string error;                       // why the import cannot go ahead
    bool device_failed = false;              // a slot's code could not be read
    bool ok() const { return error.empty(); }
};

// The code a used slot holds, read from the mouse; nullopt when the read failed.
using SlotCodeReader = std::function<std::optional<macro::MacroCode>(int slot)>;

// Chooses a slot for every macro of `document` in `directory`: one that holds the same code,
// else an empty slot with room in the code area (no macro is moved). Refuses when a macro does
// not fit.
ImportPlan plan_profile_import(const ProfileDocument& document,
                               const macro::MacroDirectory& directory,
                               const SlotCodeReader& read_code);

// Why a mouse with `traits` cannot take `document` (a function its model lacks), or nullopt.
std::optional<std::string> model_refusal(const ProfileDocument& document,
                                         const device::MouseTraits& traits);

// Writes `document` into profile `profile` of `mouse`: its macros, then its buttons (those
// acting as left click first, so a failure midway never leaves the profile without one), then
// its name, and stores the settings.
ProfileTransferResult import_profile(device::zklib& lib, const device::_DEVICE_& mouse, int profile,
                                     const ProfileDocument& document);

}  // namespace zentrik::core
