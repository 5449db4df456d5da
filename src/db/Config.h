#pragma once

#include <QString>

namespace velmora::db {

// The database URL in force: the --db option, else VELMORA_DB, else the
// settings file (key database/url), else the embedded SQLite database in the
// user's data folder.
QString resolveDatabaseUrl(const QString& commandLineUrl);
QString defaultSqliteUrl();

} // namespace velmora::db
