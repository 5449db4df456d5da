#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace velmora::db {
class Database;
}

namespace velmora::app {

class Prompter;

// The values the main window sets at start-up and login and every screen
// reads, with the seams a test replaces (clock, date separator, address).
struct Session
{
    // The one connection of the program, owned by the main window.
    db::Database* db = nullptr;

    // The server's date at start-up, "dd/mm/yyyy", Christian era (18/03/2017).
    QString Server_Date_Text;
    // The same date with the Buddhist-era year (18/03/2560).
    QString Server_Date_Text_BE;
    // The user name as typed at the successful login.
    QString Login_User_Name;

    // Messages, confirmations and file dialogs of every screen.
    Prompter* prompter = nullptr;

    // The machine's current local date and time; unset means the real clock.
    std::function<QDateTime()> localNow;
    // The machine's configured date separator; empty means the system locale's.
    QString dateSeparator;
    // The computer's IPv4 address as dotted text, empty if unknown; unset means
    // the real lookup.
    std::function<QString()> localAddress;

    // Ends the whole program (set by the main window).
    std::function<void()> endProgram;
    // Closes the program's connection (set by the main window), before a
    // restore replaces the database file; the program ends afterwards.
    std::function<void()> closeDatabase;

    QDateTime machineNow() const;
    QString machineDateSeparator() const;
};

} // namespace velmora::app
