#include "cli/Command.h"

#include "db/Config.h"
#include "db/Schema.h"
#include "services/Backup.h"

#include <QTextStream>

namespace velmora::cli {

std::vector<Command>& commands()
{
    static std::vector<Command> list;
    return list;
}

QString Context::databaseUrl() const
{
    return db::resolveDatabaseUrl(m_dbOption);
}

std::unique_ptr<db::Database> Context::openDatabase(Use use)
{
    QString error;
    auto database = db::Database::open(databaseUrl(), &error);
    if (!database) {
        refuse(QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้: ") + error);
        return nullptr;
    }
    if (!db::ensureSchema(*database, &error)) {
        refuse(QStringLiteral("ไม่สามารถใช้ฐานข้อมูลนี้ได้: ") + error);
        return nullptr;
    }
    // The desktop program's version check, before anything is read or written.
    if (!db::checkVersion(*database, &error)) {
        refuse(error);
        return nullptr;
    }
    if (use == Use::Writing) {
        const QString said = backup::backupAtStart(*database);
        if (!said.isEmpty())
            refuse(said);
    }
    return database;
}

void Context::out(const QString& text) const
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
    std::fflush(stdout);
}

void Context::outLine(const QString& text) const
{
    out(text + QLatin1Char('\n'));
}

int Context::refuse(const QString& message) const
{
    QString line = message;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray utf8 = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stderr);
    return Refused;
}

int Context::usage(const QString& message) const
{
    const QByteArray utf8 = (message + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stderr);
    return Usage;
}

bool Context::parse(QCommandLineParser& parser, int positional, const QString& synopsis)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(m_args)) {
        usage(parser.errorText() + QStringLiteral("\nusage: velmora-cli ") + synopsis);
        return false;
    }
    if (positional >= 0 && parser.positionalArguments().size() != positional) {
        usage(QStringLiteral("usage: velmora-cli ") + synopsis);
        return false;
    }
    return true;
}

} // namespace velmora::cli
