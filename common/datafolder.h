#pragma once

#include <QString>

// Where a program keeps the files it writes. A portable copy (the build
// folder, or a copy of it anywhere) keeps them beside the program, in its
// application folder. An installed copy's application folder belongs to the
// system: the install step puts a marker file into it, and such a copy keeps
// the user's files in the user's data folder instead. Nothing is configured.
namespace common {

// The marker file the install step puts into an installed application folder.
inline constexpr char InstalledMarker[] = "installed-copy";

// The reverse-DNS ids of the two programs, also their desktop file names.
inline constexpr char GameId[] = "org.woolmere.Fleeceslot";
inline constexpr char ReaderId[] = "org.woolmere.Velreader";

// True when `applicationFolder` (ending in "/") holds the marker.
bool isInstalledCopy(const QString& applicationFolder);

// The user's data folder of program `appId`: $XDG_DATA_HOME/appId/, by
// default ~/.local/share/appId/, ending in "/". Not created here.
QString userDataFolder(const QString& appId);

// The folder for the files the program writes: the application folder of a
// portable copy, the user's data folder of an installed one.
QString writableFolder(const QString& applicationFolder, const QString& appId);

}  // namespace common
