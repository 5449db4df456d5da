#pragma once

#include <QByteArrayView>
#include <QSqlDatabase>
#include <QString>
#include <QStringView>

namespace velmora::db {

// Registers the Thai dictionary-order collation (Dialect::thaiOrder) on an
// open SQLite connection, through the driver's sqlite3 handle. Returns false
// with *error when the handle is not SQLite's or SQLite refuses it.
bool registerThaiCollation(const QSqlDatabase& connection, QString* error);

// The comparison that collation makes: <0, 0 or >0, Thai dictionary order
// (ICU's Thai rules through QCollator), then code points to break ties.
int compareThai(const QString& a, const QString& b);
int compareThai(QStringView a, QStringView b);

// The same comparison of two UTF-8 texts, each read as QString::fromUtf8
// reads it (a malformed sequence becomes U+FFFD): what the collation runs for
// every comparison of a sort, so it neither allocates for a short name nor
// decodes two equal texts.
int compareThaiUtf8(QByteArrayView a, QByteArrayView b);

} // namespace velmora::db
