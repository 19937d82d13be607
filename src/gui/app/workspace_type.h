// The registration of the workspace file type with the desktop: a shared
// MIME-info package that makes "*.KWS" files "Korvane Workspace" documents,
// and a desktop entry that opens them with this program, both under the
// user's data folder (freedesktop.org layout), so that a file manager opens
// a workspace in Korvane.
#pragma once

#include <QString>

namespace korvane::gui {

// The MIME type of workspace files.
inline constexpr const char* kWorkspaceMimeType = "application/x-korvane-workspace";

// The two files' contents for a program at programPath.
QString WorkspaceMimePackage();
QString KorvaneDesktopEntry(const QString& programPath);

// The user's data folder: $XDG_DATA_HOME when it is absolute, else
// ~/.local/share.
QString UserDataHome();

// Writes dataHome/mime/packages/korvane-workspace.xml and
// dataHome/applications/korvane.desktop where they are missing or differ,
// then asks the desktop's tools (when installed) to refresh their caches.
// Every error is ignored: the program works without the registration.
// Returns whether a file was written.
bool RegisterWorkspaceType(const QString& programPath, const QString& dataHome);

}  // namespace korvane::gui
