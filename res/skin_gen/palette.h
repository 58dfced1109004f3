#pragma once
// The colours of the skin. The window is a dark graphite body with an orange accent; lists sit
// on light cards because their rows are drawn in black.
#include "res/skin_gen/canvas.h"

namespace zentrik::skin::palette {

inline constexpr Rgba body_top = rgb(0x1D2129);
inline constexpr Rgba body_bottom = rgb(0x121419);
inline constexpr Rgba header = rgb(0x0F1115);
inline constexpr Rgba raised = rgb(0x262A33);
inline constexpr Rgba raised_hi = rgb(0x323844);
inline constexpr Rgba sunken = rgb(0x15171C);
inline constexpr Rgba rim = rgb(0x3A404C);
inline constexpr Rgba hairline = rgb(0x2C313B);

inline constexpr Rgba ink_light = rgb(0xE8EBF0);
inline constexpr Rgba ink_muted = rgb(0x9AA3B2);
inline constexpr Rgba ink_dim = rgb(0x646C7A);
inline constexpr Rgba ink_dark = rgb(0x1C1F26);

inline constexpr Rgba accent = rgb(0xFF7A1A);
inline constexpr Rgba accent_hi = rgb(0xFFA14F);
inline constexpr Rgba accent_lo = rgb(0xC4520B);
// The second picture set (another sensor family) uses a cool accent instead.
inline constexpr Rgba accent_cool = rgb(0x27C4E0);

inline constexpr Rgba card = rgb(0xE4E7EC);
inline constexpr Rgba card_edge = rgb(0xB9BFC9);
inline constexpr Rgba card_header = rgb(0x2A2F39);

inline constexpr Rgba danger = rgb(0xE5484D);
inline constexpr Rgba record_red = rgb(0xF03E3E);

}  // namespace zentrik::skin::palette
