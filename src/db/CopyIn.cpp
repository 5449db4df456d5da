#include "db/CopyIn.h"

#include "db/Prepared.h"

#include <QDateTime>
#include <QLocale>
#include <QSqlDriver>

#include <libpq-fe.h>

namespace velmora::db {

namespace {

// Rows gathered before they go to the server.
constexpr qsizetype kSendAt = qsizetype(1) << 20;

PGconn* postgresHandle(const Database& db)
{
    if (db.backend() != Backend::Postgres)
        return nullptr;
    const QSqlDatabase connection = db.connection();
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    // The driver declares the handle's type by its C name or its typedef.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

// Ends the copy's statement: its result, and whatever follows it.
bool endResults(PGconn* connection, QString* why)
{
    bool ok = true;
    while (PGresult* result = PQgetResult(connection)) {
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            ok = false;
            if (why)
                *why = QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
        }
        PQclear(result);
    }
    return ok;
}

} // namespace

std::unique_ptr<CopyIn> CopyIn::start(const Database& db, const QString& table, const QStringList& columns,
    QString* why)
{
    PGconn* connection = postgresHandle(db);
    if (!connection) {
        if (why)
            *why = QStringLiteral("not a PostgreSQL connection");
        return nullptr;
    }
    const QByteArray sql =
        QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QStringLiteral(", "))).toUtf8();
    PGresult* result = PQexec(connection, sql.constData());
    const bool started = PQresultStatus(result) == PGRES_COPY_IN;
    if (!started && why)
        *why = QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
    PQclear(result);
    if (!started) {
        endResults(connection, nullptr);
        return nullptr;
    }
    return std::unique_ptr<CopyIn>(new CopyIn(connection));
}

CopyIn::~CopyIn()
{
    if (!m_open)
        return;
    PQputCopyEnd(m_connection, "the copy was not finished");
    endResults(m_connection, nullptr);
}

QByteArray CopyIn::field(const QVariant& value)
{
    if (bindsNull(value))
        return QByteArrayLiteral("\\N");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QByteArray::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toLatin1();
    default:
        break;
    }
    const QByteArray text = value.toString().toUtf8();
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool CopyIn::add(const QVariantList& values, QString* why)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            m_buffer += '\t';
        m_buffer += field(values[i]);
    }
    m_buffer += '\n';
    return m_buffer.size() < kSendAt || send(why);
}

bool CopyIn::send(QString* why)
{
    if (!m_buffer.isEmpty() && PQputCopyData(m_connection, m_buffer.constData(), static_cast<int>(m_buffer.size())) != 1) {
        if (why)
            *why = failure();
        return false;
    }
    m_buffer.clear();
    return true;
}

bool CopyIn::finish(QString* why)
{
    if (!send(why))
        return false;
    m_open = false;
    if (PQputCopyEnd(m_connection, nullptr) != 1) {
        if (why)
            *why = failure();
        endResults(m_connection, nullptr);
        return false;
    }
    return endResults(m_connection, why);
}

QString CopyIn::failure() const
{
    return QString::fromUtf8(PQerrorMessage(m_connection)).trimmed();
}

} // namespace velmora::db
