#pragma once

#include "db/Database.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace velmora::cli {

// Exit statuses of velmora-cli.
enum Exit { Success = 0, Refused = 1, Usage = 2 };

class Context
{
public:
    Context(QString dbOption, QStringList args)
        : m_dbOption(std::move(dbOption))
        , m_args(std::move(args))
    { }

    // The command's own arguments, the command name first (as QCommandLineParser wants).
    const QStringList& args() const { return m_args; }
    enum class Use { Reading, Writing };
    // Opens the database in force (--db, VELMORA_DB, settings, embedded) and
    // creates the tables of a new one. On failure prints the reason and returns null.
    // A command that writes makes the day's first backup of the embedded
    // database, whose check finds damage (writes are then refused).
    std::unique_ptr<db::Database> openDatabase(Use use = Use::Reading);
    QString databaseUrl() const;

    void out(const QString& text) const; // stdout, text as it stands
    void outLine(const QString& text) const; // stdout, one line
    int refuse(const QString& message) const; // one line on stderr, exit 1
    int usage(const QString& message) const; // one line on stderr, exit 2

    // Parses the command's options; on an error prints it and returns false.
    // positional: how many arguments the command takes after its name (-1: any);
    // parser.positionalArguments() then holds them without the command name.
    bool parse(QCommandLineParser& parser, int positional, const QString& synopsis);

private:
    QString m_dbOption;
    QStringList m_args;
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
