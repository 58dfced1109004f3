#pragma once
// The profile tabs' context: a right press on a profile's tab offers to export that profile
// to a profile file or to import one into it (core/profile_transfer.h), with the window's file
// dialogs. The transfer runs as a job holding the mouse; an import reloads the settings so the
// window shows what the mouse now holds.
namespace zentrik::core {

class Session;

// Adds the rows for the five profile tabs.
void install_profile_file_rows(Session& session);

}  // namespace zentrik::core
