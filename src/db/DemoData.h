#pragma once

#include "db/Database.h"

#include <QDate>
#include <QString>

namespace velmora::db {

// The documented demo login.
inline constexpr const char* kDemoUser = "demo";
inline constexpr const char* kDemoPassword = "demo1234";

// Adds sample departments, employment types, employees (status "A", some with
// contracts ending in the month of `today`), reasons and employment periods
// (Buddhist-era dates), and the demo login with every role. Idempotent: rows already present
// are left alone. One transaction.
bool addDemoData(const Database& db, const QDate& today, QString* error);

} // namespace velmora::db
