#pragma once
// The labelled phases of the start-up's progress box, which runs from the first poll to the
// loaded home page: discovery, identification, then the load's own steps. Each phase has its
// share of the bar, after the exchanges it makes with a mouse of the family.
#include <string>

#include "lang/string_tables.h"

namespace zentrik::core {

struct ProgressPhase {
    const char* key;      // the language key of its label
    const char* english;  // the label's English default
    double from, to;      // its share of the bar: where it starts and ends
    std::string label() const { return lang::own_text(key, english); }
    // `done` (0-1) of this phase as a fraction of the whole bar.
    double at(double done) const { return from + (to - from) * done; }
};

// The start: before the load.
inline constexpr ProgressPhase kDiscoverPhase{"zk_start_discover", "Looking for the mouse...", 0.0,
                                              0.03};
inline constexpr ProgressPhase kIdentifyPhase{"zk_start_identify", "Identifying the mouse...", 0.03,
                                              0.1};

// The load's steps, as shares of the load (the load's own bar, or what is left of the start's),
// after the time their exchanges take: the buttons, 55 reads, are most of it.
inline constexpr ProgressPhase kLoadMacrosPhase{"zk_load_macros", "Reading the macro memory...",
                                                0.0, 0.05};
inline constexpr ProgressPhase kLoadButtonsPhase{"zk_load_buttons", "Reading the buttons...", 0.05,
                                                 0.86};
inline constexpr ProgressPhase kLoadDpiPhase{"zk_load_dpi", "Reading the DPI levels...", 0.86,
                                             0.95};
inline constexpr ProgressPhase kLoadNamesPhase{"zk_load_names", "Reading the profile names...",
                                               0.95, 1.0};

// The bar never goes back: each phase starts where the one before it ends.
static_assert(kDiscoverPhase.to == kIdentifyPhase.from);
static_assert(kLoadMacrosPhase.to == kLoadButtonsPhase.from &&
              kLoadButtonsPhase.to == kLoadDpiPhase.from &&
              kLoadDpiPhase.to == kLoadNamesPhase.from && kLoadNamesPhase.to == 1.0);

}  // namespace zentrik::core
