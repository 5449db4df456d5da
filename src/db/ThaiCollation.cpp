#include "db/ThaiCollation.h"

#include "db/Dialect.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace velmora::db {

namespace {

const QCollator& thaiCollator()
{
    // QCollator is not safe to share between threads; one per thread.
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Thai, QLocale::Thailand));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

int compareUtf8(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareThai(QString::fromUtf8(static_cast<const char*>(a), lengthA),
        QString::fromUtf8(static_cast<const char*>(b), lengthB));
}

} // namespace

int compareThai(const QString& a, const QString& b)
{
    const int order = thaiCollator().compare(a, b);
    if (order != 0)
        return order;
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool registerThaiCollation(const QSqlDatabase& connection, QString* error)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        if (error)
            *error = QStringLiteral("the connection has no SQLite handle for the Thai collation");
        return false;
    }
    sqlite3* db = *static_cast<sqlite3* const*>(handle.data());
    if (!db) {
        if (error)
            *error = QStringLiteral("the SQLite connection is not open");
        return false;
    }
    const int rc = sqlite3_create_collation_v2(db, kSqliteThaiCollation, SQLITE_UTF8, nullptr, compareUtf8, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("registering the Thai collation: ") + QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    return true;
}

} // namespace velmora::db
