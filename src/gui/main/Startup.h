#pragma once

#include <QString>

#include <memory>
#include <vector>

class QWidget;

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

// The message shown after a new database was created.
QString newDatabaseMessage();

// One hidden instance of each screen that is made at start-up, after the main
// window; they are never shown.
std::vector<std::unique_ptr<QWidget>> createPrecreatedScreens(const ScreenRegistry& screens, Session& session);

} // namespace velmora::app
