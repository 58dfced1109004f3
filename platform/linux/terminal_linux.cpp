#include "platform/terminal.h"

#include <unistd.h>

namespace zentrik::platform {

bool stdin_is_terminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool stderr_is_terminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace zentrik::platform
