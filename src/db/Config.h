#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace velmora::db {

// The settings of the program and of velmora-cli, opened the one way every
// reader and writer of settings uses: the organisation "Velmora", the
// application "velmora", whatever names the running executable gives
// itself (~/.config/Velmora/velmora.conf on Linux, the registry key
// Software\Velmora\velmora on Windows).
std::unique_ptr<QSettings> openSettings();

// The database URL in force: the --db option, else VELMORA_DB, else the
// settings file (key database/url), else the embedded SQLite database in the
// user's data folder.
QString resolveDatabaseUrl(const QString& commandLineUrl);
QString defaultSqliteUrl();

// The folder exports go to: the settings key export/folder when it names an
// existing folder, else the user's Documents folder (the home folder when
// there is none).
QString exportFolder();

} // namespace velmora::db
