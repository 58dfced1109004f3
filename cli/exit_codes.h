#pragma once
// zentrikctl's exit statuses, documented in its manual; scripts rely on them.
namespace zentrik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;    // anything not listed below
inline constexpr int kExitUsage = 2;      // bad command line
inline constexpr int kExitNoMouse = 3;    // no mouse found, or the addressed one is not there
inline constexpr int kExitDevice = 4;     // an exchange with the mouse failed
inline constexpr int kExitBadFile = 5;    // a file could not be read, written or understood
inline constexpr int kExitDeclined = 6;   // the user answered No to a question

}  // namespace zentrik::cli
