#include "core/overwrite_messages.h"

#include "core/job_result.h"

namespace zentrik::core {

std::string partly_written_message(const std::string& job, const std::string& step,
                                   const std::optional<std::filesystem::path>& safety_copy) {
    std::string text = std::string(kMsgError) + ": the mouse stopped answering during the " + job +
                       " (" + step + "), so it may be partly written.";
    if (safety_copy) {
        text += "\nWhat it held before is saved in " + safety_copy->string() +
                "; restore that file to go back.";
    }
    return text;
}

std::string no_safety_copy_message(const std::string& job, const std::string& reason) {
    return std::string(kMsgError) + ": the " + job +
           " did not start because no safety copy of the mouse could be saved (" + reason +
           "). Nothing was written to the mouse.";
}

}  // namespace zentrik::core
