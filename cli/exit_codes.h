#pragma once
// zentrikctl's exit statuses, documented in its manual; scripts rely on them.
namespace zentrik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;   // anything not listed below
inline constexpr int kExitUsage = 2;     // bad command line
inline constexpr int kExitNoMouse = 3;   // no mouse found, or the addressed one is not there
inline constexpr int kExitDevice = 4;    // an exchange with the mouse failed
inline constexpr int kExitBadFile = 5;   // a file could not be read, written or understood
inline constexpr int kExitDeclined = 6;  // the user answered No to a question
inline constexpr int kExitBusy = 7;      // another program kept the mouse busy for too long

// The statuses as the help text and the manual list them.
struct ExitCodeMeaning {
    int code;
    const char* meaning;
};
inline constexpr ExitCodeMeaning kExitCodeMeanings[] = {
    {kExitOk, "success"},
    {kExitFailure, "any other failure"},
    {kExitUsage, "bad command line (unknown command or option, bad value)"},
    {kExitNoMouse, "no mouse found, or the addressed mouse is not there"},
    {kExitDevice, "an exchange with the mouse failed"},
    {kExitBadFile, "a file could not be read, written or understood"},
    {kExitDeclined, "the user answered No to a question"},
    {kExitBusy, "another program kept using the mouse; nothing was changed"},
};

}  // namespace zentrik::cli
