#pragma once

// The one way a statement is run: prepare, bind every value in order, run,
// and on failure report what the statement was for and the driver's text.

#include "db/Database.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace velmora::db {

// Prepares `sql` on `q` (forward only: rows are read once, in order), binds
// `values` to its placeholders in order and runs it. False with *error set
// to "purpose: driver text" when the statement cannot be prepared or run.
bool prepareAndRun(const Database& db, QSqlQuery& q, const QString& sql, const QVariantList& values,
    const QString& purpose, QString* error);

// The same on a new query of the connection, for a statement whose rows are
// not read.
bool prepareAndRun(
    const Database& db, const QString& sql, const QVariantList& values, const QString& purpose, QString* error);

} // namespace velmora::db
