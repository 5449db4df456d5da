#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QWidget;

namespace velmora::db {
class Database;
}

namespace velmora::app {

class Prompter;
class ScreenRegistry;
struct Session;

// Before the main window: a database without tables (a new embedded file, or
// an empty server database) gets the tables and the installation data, and
// the user is told that no one can log in until a user is added with
// velmora-cli. An existing database is left as it is (db::ensureSchema); a
// database that cannot be opened is left to the start-up check. Returns
// false with *error, after showing it, when the tables could not be created
// or the database lacks some of them: the program then ends.
bool prepareDatabase(const QString& url, Prompter& prompter, QString* error);

// After the main window's start-up checks: the crash reports written since
// the last start are named (once each), and the day's first backup of the
// embedded database is made, whose check may find damage (writes are then
// refused and the officer is told what to restore).
void afterStartup(Prompter& prompter, QWidget* window, const db::Database* database);

// The message naming crash reports not shown yet; empty when there are none.
QString crashNotice(const QStringList& reports);

// The message shown after a new database was created.
QString newDatabaseMessage();

// One hidden instance of each screen that is made at start-up, after the main
// window; they are never shown.
std::vector<std::unique_ptr<QWidget>> createPrecreatedScreens(const ScreenRegistry& screens, Session& session);

} // namespace velmora::app
