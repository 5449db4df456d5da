#pragma once

// Conversions between the database's values and the plain strings of the rules.

#include "db/Database.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <string>
#include <string_view>

namespace velmora::calc::sql {

inline QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text)
{
    return text.toStdString();
}

// NULL reads as "" / 0.
std::string Text(const QVariant& v);
int Integer(const QVariant& v);
double Number(const QVariant& v);

// The date of a date-time column (SQLite keeps it as ISO text); invalid if NULL.
QDate Date_Of(const QVariant& v);

// Runs a prepared statement; on failure *error holds the purpose and the driver's text.
bool Run(const db::Database& db, QSqlQuery& q, const char* purpose, std::string* error);

// db::prepareAndRun with the rules' plain strings: prepares, binds `values`
// in order and runs; on failure *error holds the purpose and the driver's text.
bool Exec(const db::Database& db, QSqlQuery& q, const QString& statement, const QVariantList& values,
    const char* purpose, std::string* error);
bool Exec(const db::Database& db, const QString& statement, const QVariantList& values, const char* purpose,
    std::string* error);

// Whether the writing transaction began; if not, *error is `failed` followed
// by the cause ("บันทึกข้อมูลไม่ได้: ...").
bool Began(const db::Transaction& tx, const char* failed, std::string* error);
// Commits; on failure *error is `failed` followed by the driver's text.
bool Committed(db::Transaction& tx, const char* failed, std::string* error);

} // namespace velmora::calc::sql
