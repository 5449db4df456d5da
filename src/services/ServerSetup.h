#pragma once

// A PostgreSQL server that holds the rights itself. server-setup (run with the
// database owner's connection, idempotent) makes four group roles, grants each
// the table and column privileges its actions need (derived from the rights
// table), lets audit rows be added only by one SECURITY DEFINER function that
// takes session_user and computes the chain on the server, and puts triggers
// on the money tables that log a change made outside the program
// (direct-change). Each user of the program is then a login role of the
// server, member of the group roles of their roles.

#include "services/Rights.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora::db {
class Database;
}

namespace velmora::server {

// "velmora_officer": the group role of a role.
QString groupRole(rights::Role role);

// One privilege a group role holds on a program table: "SELECT", "INSERT",
// "UPDATE" or "DELETE", on the whole table or on the listed columns.
struct Grant
{
    QString table;
    QString privilege;
    QStringList columns; // empty: the whole table
};

// What the group role of `role` is granted: SELECT on every table of the
// program, and the writes of every action the rights table lets the role do.
std::vector<Grant> grantsFor(rights::Role role);

// The group roles, grants, row policies, the audit function and the
// triggers, in one transaction; then a login role for every user of the
// program (the roles they hold; no password, so none can log in before an
// administrator sets one), and for `adminName` (who must be a user with the
// administrator's role) with `adminPassword`. Run by the database owner,
// whose server role may create roles; running it again gives the same state.
bool setUp(const db::Database& db, const QString& adminName, const QString& adminPassword, QString* error);

// The login role of a user, inside the caller's transaction, on a database set
// up for server roles (each a no-op elsewhere). Refused by the server unless
// the connection is an administrator's or the owner's, and for a role that is
// not a login of this program (a superuser, the owner, a group role).
// roles: stored role names. An empty password leaves the login without one.
bool addLogin(const db::Database& db, const QString& userName, const QString& password, const QStringList& roles,
    QString* error);
bool setLoginEnabled(const db::Database& db, const QString& userName, bool enabled, QString* error);
bool setLoginRoles(const db::Database& db, const QString& userName, const QStringList& roles, QString* error);
bool setLoginPassword(const db::Database& db, const QString& userName, const QString& password, QString* error);

} // namespace velmora::server
