#pragma once

#include "db/Database.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velmora::cli {

// Exit statuses of velmora-cli.
enum Exit { Success = 0, Refused = 1, Usage = 2 };

class Context
{
public:
    // login: the name of --login (or VELMORA_LOGIN); empty for none.
    Context(QString dbOption, QString login, QStringList args)
        : m_dbOption(std::move(dbOption))
        , m_login(std::move(login))
        , m_args(std::move(args))
    { }

    // The command's own arguments, the command name first (as QCommandLineParser wants).
    const QStringList& args() const { return m_args; }
    // A command that writes makes the day's first backup of the embedded
    // database, whose check finds damage (writes are then refused). A user who
    // must choose a new password is let in only by the command that changes it.
    enum class Use { Reading, Writing, PasswordChange };
    // Opens the database in force (--db, VELMORA_DB, settings, embedded),
    // creates the tables of a new one, checks the version and logs in (every
    // command that touches the data). On failure prints the reason and
    // returns null.
    std::unique_ptr<db::Database> openDatabase(Use use = Use::Reading);
    // The same without the login (init on a database without users);
    // *created tells whether the tables were made just now.
    // On a PostgreSQL URL that names no user the --login name and password
    // open the connection (each user is a server login).
    std::unique_ptr<db::Database> openUnlogged(bool* created = nullptr);
    QString databaseUrl() const;

    // Logs in as the --login name: the password from the terminal (not
    // echoed) or the first line of standard input. False after printing the
    // refusal, the same message as the login screen's.
    bool logIn(const db::Database& db, bool forPasswordChange = false);
    const QString& loginName() const { return m_login; }
    // The password logged in with (the password command's old password).
    const QString& loginPassword() const { return m_password; }
    // A new password: the next line of standard input, or asked twice on the
    // terminal. None after printing why (an empty line, two different entries).
    std::optional<QString> readNewPassword();

    void out(const QString& text) const; // stdout, text as it stands
    void outLine(const QString& text) const; // stdout, one line
    void errLine(const QString& text) const; // stderr, one line (a warning; the command goes on)
    int refuse(const QString& message) const; // one line on stderr, exit 1
    int usage(const QString& message) const; // one line on stderr, exit 2

    // Parses the command's options; on an error prints it and returns false.
    // positional: how many arguments the command takes after its name (-1: any);
    // parser.positionalArguments() then holds them without the command name.
    bool parse(QCommandLineParser& parser, int positional, const QString& synopsis);

private:
    // Reads the --login password once; false after printing why.
    bool readLoginPassword();
    std::unique_ptr<db::Database> openWith(bool asLogin, bool* created);

    QString m_dbOption;
    QString m_login;
    QString m_password;
    QStringList m_args;
};

// A user's password given as init --user takes it: --password PW,
// --password-stdin (the first line of standard input), or asked twice on the
// terminal.
struct PasswordOptions
{
    QCommandLineOption password {QStringLiteral("password"),
        QStringLiteral("the user's password (seen by every user of the machine in the process list: prefer "
                       "--password-stdin or the prompt)"),
        QStringLiteral("PW")};
    QCommandLineOption passwordStdin {
        QStringLiteral("password-stdin"), QStringLiteral("read the password from the first line of standard input")};

    // A usage error (both options, or the prompt without a terminal): its line, else empty.
    QString misuse(const QCommandLineParser& parser) const;
    bool given(const QCommandLineParser& parser) const
    {
        return parser.isSet(password) || parser.isSet(passwordStdin);
    }
    // The password; none after printing why. `prompt`: ask on the terminal
    // when neither option is given.
    std::optional<QString> read(const Context& c, const QCommandLineParser& parser, bool prompt) const;
};

struct Command
{
    QString name;
    QString synopsis; // one line for --help
    bool needsGui = false; // pages and PDFs need a QGuiApplication
    std::function<int(Context&)> run;
    // Optional: whether these arguments (the command name first) need a
    // QGuiApplication although the command usually does not (a --pdf option).
    std::function<bool(const QStringList&)> needsGuiFor = {};
};

// Commands register themselves from their own source file.
std::vector<Command>& commands();

struct Registration
{
    explicit Registration(Command command) { commands().push_back(std::move(command)); }
};

} // namespace velmora::cli
