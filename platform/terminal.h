#pragma once
// Whether the program's standard streams are attached to a terminal (progress bars, questions).
namespace zentrik::platform {

bool stdin_is_terminal();
bool stderr_is_terminal();

}  // namespace zentrik::platform
