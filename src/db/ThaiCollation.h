#pragma once

#include <QSqlDatabase>
#include <QString>

namespace velmora::db {

// Registers the Thai dictionary-order collation (Dialect::thaiOrder) on an
// open SQLite connection, through the driver's sqlite3 handle. Returns false
// with *error when the handle is not SQLite's or SQLite refuses it.
bool registerThaiCollation(const QSqlDatabase& connection, QString* error);

// The comparison that collation makes: <0, 0 or >0, Thai dictionary order
// (ICU's Thai rules through QCollator), then code points to break ties.
int compareThai(const QString& a, const QString& b);

} // namespace velmora::db
