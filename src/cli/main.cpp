#include "cli/Command.h"

#include "db/AuditLog.h"
#include "db/LocalAddress.h"
#include "services/CrashReport.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

using namespace velmora::cli;

namespace {

// The command line speaks in one line on stderr; the toolkit's own warnings
// (a missing runtime folder under the offscreen platform, ...) are kept out
// unless VELMORA_DEBUG is set.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg || qEnvironmentVariableIsSet("VELMORA_DEBUG")) {
        const QByteArray text = qFormatLogMessage(type, context, message).toLocal8Bit();
        std::fprintf(stderr, "%s\n", text.constData());
    }
}

void printHelp()
{
    QString text =
        QStringLiteral("usage: velmora-cli [--db URL] [--login NAME] COMMAND ...\n\n"
                       "URL: sqlite:PATH | PATH | postgresql://user:pw@host:port/db | odbc:CONNECTION-STRING\n"
                       "(postgresql://host:port/db after server-setup: the --login name and password open it)\n"
                       "(else VELMORA_DB, else the settings file, else the embedded database)\n"
                       "NAME: the user who logs in (else VELMORA_LOGIN); the password is asked on the terminal,\n"
                       "or read from the first line of standard input; a new password is the next line.\n"
                       "baht, period, and init on a database without users need no login.\n\n"
                       "commands:\n");
    for (const Command& c : commands())
        if (!c.synopsis.isEmpty()) // helpers the program starts itself are not listed
            text += QStringLiteral("  ") + c.synopsis + QLatin1Char('\n');
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QString dbOption;
    QString login = qEnvironmentVariable("VELMORA_LOGIN");
    int i = 1;
    for (; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--db") == 0 && i + 1 < argc) {
            dbOption = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strncmp(a, "--db=", 5) == 0) {
            dbOption = QString::fromLocal8Bit(a + 5);
        } else if (std::strcmp(a, "--login") == 0 && i + 1 < argc) {
            login = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strncmp(a, "--login=", 8) == 0) {
            login = QString::fromLocal8Bit(a + 8);
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            printHelp();
            return Success;
        } else {
            break;
        }
    }
    if (i >= argc) {
        printHelp();
        return Usage;
    }
    const QString name = QString::fromLocal8Bit(argv[i]);
    const Command* command = nullptr;
    for (const Command& c : commands()) {
        if (c.name == name)
            command = &c;
    }
    if (!command) {
        fprintf(stderr, "unknown command: %s (velmora-cli --help lists them)\n", argv[i]);
        return Usage;
    }

    qInstallMessageHandler(quietMessages);
    // Pages and PDFs need a GUI application even with no screen.
    std::unique_ptr<QCoreApplication> app;
    QStringList commandArgs;
    for (int k = i; k < argc; ++k)
        commandArgs << QString::fromLocal8Bit(argv[k]);
    if (command->needsGui || (command->needsGuiFor && command->needsGuiFor(commandArgs))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("velmora"));
    // A fatal error leaves a report; not in the helpers the program starts
    // itself to keep a library's crash away from it.
    if (!command->synopsis.isEmpty())
        velmora::crash::installCrashHandler(QStringLiteral("velmora-cli ") + name);

    // Who acts on the audit log: the user logged in (until then the
    // operating-system account of this process), whose account stays beside
    // the machine's address as "ADDRESS (account)".
    const QString osUser = velmora::audit::operatingSystemUser();
    velmora::audit::setActor({osUser, QLatin1String(velmora::audit::kOriginCli),
        velmora::audit::cliMachine(QString::fromStdString(velmora::Local_IP_Address()), osUser)});

    Context context(dbOption, login, commandArgs);
    return command->run(context);
}
