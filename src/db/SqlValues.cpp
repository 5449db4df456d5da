#include "db/SqlValues.h"

#include "db/Statement.h"

#include <QDateTime>

namespace velmora::calc::sql {

std::string Text(const QVariant& v)
{
    return v.isNull() ? std::string() : v.toString().toStdString();
}

int Integer(const QVariant& v)
{
    if (v.isNull())
        return 0;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? n : static_cast<int>(v.toDouble());
}

double Number(const QVariant& v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

QDate Date_Of(const QVariant& v)
{
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    QString text = v.toString().trimmed();
    text.replace(QLatin1Char(' '), QLatin1Char('T'));
    const QDateTime dt = QDateTime::fromString(text.left(19), Qt::ISODate);
    if (dt.isValid())
        return dt.date();
    return QDate::fromString(text.left(10), Qt::ISODate);
}

bool Run(const db::Database& db, QSqlQuery& q, const char* purpose, std::string* error)
{
    QString message;
    if (db.exec(q, QString::fromUtf8(purpose), &message))
        return true;
    if (error)
        *error = S(message);
    return false;
}

bool Exec(const db::Database& db, QSqlQuery& q, const QString& statement, const QVariantList& values,
    const char* purpose, std::string* error)
{
    QString message;
    if (db::prepareAndRun(db, q, statement, values, QString::fromUtf8(purpose), &message))
        return true;
    if (error)
        *error = S(message);
    return false;
}

bool Exec(const db::Database& db, const QString& statement, const QVariantList& values, const char* purpose,
    std::string* error)
{
    QSqlQuery q = db.query();
    return Exec(db, q, statement, values, purpose, error);
}

bool Began(const db::Transaction& tx, const char* failed, std::string* error)
{
    if (tx.active())
        return true;
    if (error)
        *error = failed + S(tx.error());
    return false;
}

bool Committed(db::Transaction& tx, const char* failed, std::string* error)
{
    QString message;
    if (tx.commit(&message))
        return true;
    if (error)
        *error = failed + S(message);
    return false;
}

} // namespace velmora::calc::sql
