#pragma once

// Rows streamed into a table of a PostgreSQL server by COPY … FROM STDIN on
// the connection's own client handle, inside the transaction open on it: one
// statement for a whole table instead of a bound INSERT for every few hundred
// rows. The table and column names are the schema's own, never typed text.

#include "db/Database.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct pg_conn;

namespace velmora::db {

class CopyIn
{
public:
    // Starts the copy into `table` (the columns in this order). Null, with
    // *why, when `db` is no PostgreSQL connection or the server refuses.
    static std::unique_ptr<CopyIn> start(const Database& db, const QString& table, const QStringList& columns,
        QString* why);
    // An unfinished copy is ended as failed: the transaction then fails too.
    ~CopyIn();
    CopyIn(const CopyIn&) = delete;
    CopyIn& operator=(const CopyIn&) = delete;

    // One row, one value per column, as it would be bound: null, a whole
    // number, a double, or text the server reads for the column's type.
    bool add(const QVariantList& values, QString* why);
    // Sends what is waiting and ends the copy; false with the server's message.
    bool finish(QString* why);

    // One value in COPY's text form (for the tests): \N for null, the
    // backslash, tab, line feed and carriage return escaped.
    static QByteArray field(const QVariant& value);

private:
    explicit CopyIn(pg_conn* connection) : m_connection(connection) {}
    bool send(QString* why);
    QString failure() const;

    pg_conn* m_connection;
    QByteArray m_buffer;
    bool m_open = true;
};

} // namespace velmora::db
