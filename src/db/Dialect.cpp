#include "db/Dialect.h"

namespace velmora::db {

QString Dialect::name() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("SQLite");
    case Backend::Postgres:
        return QStringLiteral("PostgreSQL");
    case Backend::SqlServer:
        return QStringLiteral("SQL Server");
    }
    return {};
}

QString Dialect::concat(const QStringList& parts) const
{
    const QString op = m_backend == Backend::SqlServer ? QStringLiteral(" + ") : QStringLiteral(" || ");
    return QLatin1Char('(') + parts.join(op) + QLatin1Char(')');
}

QString Dialect::substring(const QString& expr, int start, int length) const
{
    const QString fn = m_backend == Backend::Sqlite ? QStringLiteral("SUBSTR") : QStringLiteral("SUBSTRING");
    return QStringLiteral("%1(%2, %3, %4)").arg(fn, expr).arg(start).arg(length);
}

QString Dialect::dateTimeText(const QString& column) const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return column;
    case Backend::Postgres:
        // (the cast keeps a column another tool made text readable too)
        return QStringLiteral("to_char(CAST(%1 AS timestamp), 'YYYY-MM-DD HH24:MI:SS.MS')").arg(column);
    case Backend::SqlServer:
        return QStringLiteral("CONVERT(VARCHAR(23), %1, 121)").arg(column);
    }
    return column;
}

QString Dialect::currentDateTimeQuery() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("SELECT datetime('now', 'localtime') AS C_Date");
    case Backend::Postgres:
        return QStringLiteral("SELECT LOCALTIMESTAMP(0) AS C_Date");
    case Backend::SqlServer:
        return QStringLiteral("SELECT GETDATE() AS C_Date");
    }
    return {};
}

QString Dialect::textType(int length) const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("TEXT");
    case Backend::Postgres:
        return QStringLiteral("VARCHAR(%1)").arg(length);
    case Backend::SqlServer:
        return QStringLiteral("NVARCHAR(%1)").arg(length); // Thai text
    }
    return {};
}

QString Dialect::integerType() const
{
    return QStringLiteral("INTEGER");
}

QString Dialect::moneyType() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("NUMERIC");
    case Backend::Postgres:
    case Backend::SqlServer:
        return QStringLiteral("NUMERIC(18,2)");
    }
    return {};
}

QString Dialect::realType() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("REAL");
    case Backend::Postgres:
        return QStringLiteral("DOUBLE PRECISION");
    case Backend::SqlServer:
        return QStringLiteral("FLOAT");
    }
    return {};
}

QString Dialect::dateTimeType() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("TEXT"); // 'yyyy-mm-dd hh:mm:ss'
    case Backend::Postgres:
        return QStringLiteral("TIMESTAMP");
    case Backend::SqlServer:
        return QStringLiteral("DATETIME");
    }
    return {};
}

QString Dialect::thaiOrder(const QString& expr) const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return expr + QStringLiteral(" COLLATE ") + QLatin1String(kSqliteThaiCollation);
    case Backend::Postgres:
        return expr + QStringLiteral(" COLLATE \"th-TH-x-icu\"");
    case Backend::SqlServer:
        return expr + QStringLiteral(" COLLATE Thai_CI_AS");
    }
    return expr;
}

QString Dialect::textLengthQuery() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("SELECT NULL WHERE ? IS NULL AND ? IS NULL");
    case Backend::Postgres:
        return QStringLiteral("SELECT character_maximum_length FROM information_schema.columns "
                              "WHERE table_schema = current_schema() AND lower(table_name) = lower(?) "
                              "AND lower(column_name) = lower(?)");
    case Backend::SqlServer:
        return QStringLiteral("SELECT CHARACTER_MAXIMUM_LENGTH FROM INFORMATION_SCHEMA.COLUMNS "
                              "WHERE TABLE_SCHEMA = SCHEMA_NAME() AND TABLE_NAME = ? AND COLUMN_NAME = ?");
    }
    return {};
}

QString Dialect::widenTextColumn(const QString& table, const QString& column, int length) const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return {};
    case Backend::Postgres:
        return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3").arg(table, column, textType(length));
    case Backend::SqlServer:
        return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 %3").arg(table, column, textType(length));
    }
    return {};
}

QString Dialect::longTextType() const
{
    switch (m_backend) {
    case Backend::Sqlite:
    case Backend::Postgres:
        return QStringLiteral("TEXT");
    case Backend::SqlServer:
        return QStringLiteral("NVARCHAR(MAX)");
    }
    return {};
}

} // namespace velmora::db
