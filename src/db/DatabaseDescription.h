#pragma once

#include <QString>

namespace velmora::db {

// The database of a URL as an officer reads it, without any password:
// "SQLite: /path/file.sqlite", "PostgreSQL: velmora ที่ host:5432 (ผู้ใช้ officer)",
// "SQL Server (ODBC): SERVER=…; DATABASE=…; UID=…".
QString describeDatabase(const QString& url);

} // namespace velmora::db
