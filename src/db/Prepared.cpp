#include "db/Prepared.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QStringEncoder>
#include <QTime>

#include <sqlite3.h>

#include <utility>

namespace velmora::db {

sqlite3* sqliteHandle(const Database& db)
{
    if (db.backend() != Backend::Sqlite)
        return nullptr;
    const QSqlDatabase connection = db.connection();
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

bool bindsNull(const QVariant& v)
{
    if (v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(v.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(v.constData())->isNull();
    case QMetaType::QDateTime:
        return !static_cast<const QDateTime*>(v.constData())->isValid();
    case QMetaType::QDate:
        return static_cast<const QDate*>(v.constData())->isNull();
    case QMetaType::QTime:
        return static_cast<const QTime*>(v.constData())->isNull();
    default:
        return false;
    }
}

Prepared::~Prepared()
{
    finalize();
}

Prepared::Prepared(Prepared&& other) noexcept
{
    *this = std::move(other);
}

Prepared& Prepared::operator=(Prepared&& other) noexcept
{
    if (this != &other) {
        finalize();
        m_db = other.m_db;
        m_connection = std::exchange(other.m_connection, QSqlDatabase());
        m_handle = std::exchange(other.m_handle, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_texts = std::move(other.m_texts);
        m_rowWaiting = other.m_rowWaiting;
        m_lost = other.m_lost;
        m_active = other.m_active;
        m_changes = other.m_changes;
        m_error = other.m_error;
        m_query = std::move(other.m_query);
    }
    return *this;
}

void Prepared::finalize()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        // The connection was closed while this statement lived: the library
        // refused to close it then (a statement was open) and the driver let
        // go of it. The last statement on it closes it.
        if (!m_connection.isOpen() && !sqlite3_next_stmt(m_handle, nullptr))
            sqlite3_close(m_handle);
    }
    m_stmt = nullptr;
    m_handle = nullptr;
    m_connection = QSqlDatabase();
    m_query.reset();
}

QSqlError Prepared::nativeError(const char* what, int code) const
{
    return QSqlError(QString::fromLatin1(what), QString::fromUtf8(sqlite3_errmsg(m_handle)),
        QSqlError::StatementError, QString::number(code));
}

bool Prepared::prepare(const Database& db, const QString& sql, QString* error)
{
    finalize();
    m_db = &db;
    m_lost = false;
    m_error = QSqlError();
    m_handle = sqliteHandle(db);
    if (m_handle) {
        m_connection = db.connection();
        const QByteArray text = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(m_handle, text.constData(), int(text.size()), &m_stmt, nullptr);
        if (rc != SQLITE_OK) {
            m_error = nativeError("Unable to execute statement", rc);
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            m_handle = nullptr;
            if (error)
                *error = describeError(m_error);
            return false;
        }
        m_texts.assign(static_cast<size_t>(sqlite3_bind_parameter_count(m_stmt)), QByteArray());
        return true;
    }
    m_query = std::make_unique<QSqlQuery>(db.query());
    m_query->setForwardOnly(true);
    if (!m_query->prepare(sql)) {
        if (error)
            *error = describeError(m_query->lastError());
        m_query.reset();
        return false;
    }
    return true;
}

void Prepared::bind(int index, const QVariant& value)
{
    if (!m_stmt) {
        if (m_query)
            m_query->bindValue(index, value);
        return;
    }
    if (m_active)
        finish();
    const int at = index + 1;
    int rc = SQLITE_OK;
    if (index < 0 || static_cast<size_t>(index) >= m_texts.size()) {
        rc = SQLITE_RANGE;
    } else if (bindsNull(value)) {
        rc = sqlite3_bind_null(m_stmt, at);
    } else {
        switch (value.typeId()) {
        case QMetaType::QString: {
            // into the buffer of this placeholder, kept from run to run
            const QString& text = *static_cast<const QString*>(value.constData());
            QByteArray& utf8 = m_texts[static_cast<size_t>(index)];
            const qsizetype size = text.size();
            utf8.resize(size * 3);
            char* out = utf8.data();
            const ushort* in = text.utf16();
            qsizetype ascii = 0; // codes, numbers and dates are ASCII: copied as they are
            while (ascii < size && in[ascii] < 0x80) {
                out[ascii] = static_cast<char>(in[ascii]);
                ++ascii;
            }
            if (ascii == size) {
                utf8.truncate(size);
            } else {
                QStringEncoder encoder(QStringEncoder::Utf8);
                char* end = encoder.appendToBuffer(out + ascii, QStringView(text).mid(ascii));
                utf8.truncate(end - utf8.constData());
            }
            rc = sqlite3_bind_text(m_stmt, at, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
            break;
        }
        case QMetaType::QByteArray: {
            QByteArray& bytes = m_texts[static_cast<size_t>(index)];
            bytes = *static_cast<const QByteArray*>(value.constData());
            rc = sqlite3_bind_blob(m_stmt, at, bytes.constData(), int(bytes.size()), SQLITE_STATIC);
            break;
        }
        case QMetaType::Int:
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, at, value.toInt());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, at, value.toDouble());
            break;
        case QMetaType::UInt:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(m_stmt, at, value.toLongLong());
            break;
        default: {
            QByteArray& utf8 = m_texts[static_cast<size_t>(index)];
            utf8 = (value.typeId() == QMetaType::QDateTime ? value.toDateTime().toString(Qt::ISODateWithMs)
                        : value.typeId() == QMetaType::QTime   ? value.toTime().toString(QStringLiteral("hh:mm:ss.zzz"))
                                                               : value.toString())
                       .toUtf8();
            rc = sqlite3_bind_text(m_stmt, at, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
            break;
        }
        }
    }
    if (rc != SQLITE_OK && !m_error.isValid())
        m_error = nativeError("Unable to bind parameters", rc);
}

void Prepared::bindUtf8(int index, const QByteArray& utf8)
{
    if (!m_stmt || utf8.isNull()) {
        bind(index, QString::fromUtf8(utf8));
        return;
    }
    if (m_active)
        finish();
    int rc = SQLITE_RANGE;
    if (index >= 0 && static_cast<size_t>(index) < m_texts.size()) {
        m_texts[static_cast<size_t>(index)] = utf8;
        rc = sqlite3_bind_text(m_stmt, index + 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    }
    if (rc != SQLITE_OK && !m_error.isValid())
        m_error = nativeError("Unable to bind parameters", rc);
}

void Prepared::bindAll(const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        bind(static_cast<int>(i), values[i]);
}

bool Prepared::exec(const QString& purpose, QString* error)
{
    QString why;
    if (run(&why))
        return true;
    if (error)
        *error = purpose + QStringLiteral(": ") + why;
    return false;
}

bool Prepared::run(QString* error)
{
    if (!m_stmt) {
        if (m_query) {
            if (m_query->exec())
                return true;
            if (error)
                *error = m_db->failureOf(*m_query);
            return false;
        }
        if (error)
            *error = m_lost ? lostConnectionMessage() : describeError(m_error);
        return false;
    }
    if (!m_connection.isOpen()) {
        // closed under the statement: nothing more goes through it
        finalize();
        m_lost = true;
        if (error)
            *error = lostConnectionMessage();
        return false;
    }
    if (m_active)
        finish();
    m_changes = 0;
    if (!m_error.isValid()) {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) {
            m_rowWaiting = true;
            m_active = true;
        } else if (rc == SQLITE_DONE) {
            m_changes = sqlite3_changes(m_handle);
            sqlite3_reset(m_stmt);
        } else {
            m_error = nativeError("Unable to fetch row", rc);
            sqlite3_reset(m_stmt);
        }
    }
    if (!m_error.isValid())
        return true;
    if (error)
        *error = describeError(m_error);
    // the values of a failed run are bound anew before the next
    m_error = QSqlError();
    return false;
}

bool Prepared::next()
{
    if (!m_stmt)
        return m_query && m_query->next();
    if (m_rowWaiting) {
        m_rowWaiting = false;
        return true;
    }
    if (!m_active)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_error = nativeError("Unable to fetch row", rc);
    finish();
    return false;
}

QVariant Prepared::value(int column) const
{
    if (!m_stmt)
        return m_query ? m_query->value(column) : QVariant();
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QByteArray(
            static_cast<const char*>(sqlite3_column_blob(m_stmt, column)), sqlite3_column_bytes(m_stmt, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
    }
    }
}

QByteArray Prepared::utf8(int column) const
{
    if (!m_stmt) {
        const QVariant v = value(column);
        return v.isNull() ? QByteArray() : v.toString().toUtf8();
    }
    if (sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
        return QByteArray();
    if (sqlite3_column_type(m_stmt, column) != SQLITE_TEXT)
        return value(column).toString().toUtf8();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QByteArray(text, sqlite3_column_bytes(m_stmt, column));
}

int Prepared::rowsAffected() const
{
    if (!m_stmt)
        return m_query ? m_query->numRowsAffected() : 0;
    return m_changes;
}

void Prepared::finish()
{
    if (!m_stmt) {
        if (m_query)
            m_query->finish();
        return;
    }
    if (m_active)
        sqlite3_reset(m_stmt);
    m_active = false;
    m_rowWaiting = false;
}

QString Prepared::failure() const
{
    if (!m_stmt)
        return m_query && m_query->lastError().isValid() ? describeError(m_query->lastError()) : QString();
    return m_error.isValid() ? describeError(m_error) : QString();
}

} // namespace velmora::db
