// velmora: the desktop program.
//
//   velmora [--db URL]
//
// The database is the one of --db, else VELMORA_DB, else the settings file,
// else the embedded SQLite database in the user's data folder. A database
// without tables (a new embedded file, or an empty server database) gets the
// tables and installation data first; users are added with velmora-cli.

#include "db/Config.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/main/Screens.h"
#include "gui/main/Startup.h"
#include "gui/common/ToolkitTexts.h"
#include "gui/main/UVelmora.h"
#include "services/CrashReport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// On X11/Wayland systems a window needs a display; say so instead of letting
// the platform plugin abort.
bool displayAvailable(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return true;
    }
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (set("DISPLAY") || set("WAYLAND_DISPLAY"))
        return true;
    if (set("QT_QPA_PLATFORM")) {
        const QByteArray platform = QByteArray(std::getenv("QT_QPA_PLATFORM")).toLower();
        return !platform.startsWith("xcb") && !platform.startsWith("wayland");
    }
    return false;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}

} // namespace

int main(int argc, char** argv)
{
    if (!displayAvailable(argc, argv)) {
        std::fprintf(stderr,
            "velmora: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
            "Run it in a desktop session, or use the command-line program velmora-cli.\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("8.0"));
    // A fatal error leaves a report in the user's data folder.
    velmora::crash::installCrashHandler(QStringLiteral("velmora"));
    // Enter presses the focused button; Tab leaves a list (every screen).
    velmora::app::KeyboardPolicy::install();
    // The toolkit's own dialogs (file dialogs, print preview) in Thai.
    velmora::app::installThaiCatalogue();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velmora: severance compensation of contract staff"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dbOption(QStringLiteral("db"),
        QStringLiteral("Database URL: sqlite:PATH (or a plain file path), postgresql://..., odbc:..."),
        QStringLiteral("URL"));
    parser.addOption(dbOption);
    parser.process(app);

    const QString url = velmora::db::resolveDatabaseUrl(parser.value(dbOption));

    velmora::app::QtPrompter prompter;
    QString error;
    if (!velmora::app::prepareDatabase(url, prompter, &error)) {
        std::fprintf(stderr, "velmora: %s\n", qUtf8Printable(error));
        return 1;
    }

    velmora::app::Session session;
    session.prompter = &prompter;

    velmora::app::ScreenRegistry screens;
    velmora::app::registerScreens(screens);

    velmora::app::TfrmVelmora frmVelmora(session, url, screens);
    if (frmVelmora.endRequested())
        return 1;
    velmora::app::afterStartup(prompter, &frmVelmora, frmVelmora.database());

    // One hidden instance of these screens, created after the main window so
    // that their creation steps see its date values; never shown.
    auto precreated = velmora::app::createPrecreatedScreens(screens, session);

    QObject::connect(&frmVelmora, &velmora::app::TfrmVelmora::programEndRequested, &app, &QCoreApplication::quit,
        Qt::QueuedConnection);
    // Fill the screen first: without a window manager (a kiosk, a remote X
    // session) a maximise request is not honoured and the window would keep
    // its minimal size.
    if (const QScreen* screen = frmVelmora.screen())
        frmVelmora.setGeometry(screen->availableGeometry());
    frmVelmora.showMaximized();
    const int status = app.exec();
    precreated.clear();
    return status;
}
