// velmora-screenshots: the pictures of docs/user-guide.md, taken from the real
// screens on a demo database, so that they can be taken again after a change.
//
//   velmora-cli --db sqlite:/tmp/shots.sqlite init --demo
//   QT_QPA_PLATFORM=offscreen velmora-screenshots --db sqlite:/tmp/shots.sqlite --out docs/screens
//
// The program logs in as the demo user, opens the screens an officer meets
// first and writes one PNG per step. Messages are answered "yes" and listed on
// standard error, so a refusal on the way shows up instead of a dialog waiting
// for a click. Exit status 1 when a step cannot find its control.

#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/main/Screens.h"
#include "gui/main/UVelmora.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {

using velmora::app::TfrmVelmora;

class Shooter
{
public:
    Shooter(TfrmVelmora& window, velmora::app::ScriptedPrompter& prompter, QString folder)
        : m_window(window)
        , m_prompter(prompter)
        , m_folder(std::move(folder))
    {
    }

    bool ok() const { return m_ok; }

    template <typename T>
    T* find(const char* name)
    {
        T* found = m_window.findChild<T*>(QLatin1String(name));
        if (!found) {
            std::fprintf(stderr, "velmora-screenshots: no control %s\n", name);
            m_ok = false;
        }
        return found;
    }

    void type(const char* edit, const QString& text)
    {
        if (auto* e = find<QLineEdit>(edit))
            e->setText(text);
    }

    void click(const char* button)
    {
        if (auto* b = find<QAbstractButton>(button))
            b->click();
        settle();
    }

    void open(const char* menuItem)
    {
        if (auto* action = find<QAction>(menuItem))
            action->trigger();
        settle();
        // The newest screen fills the work area, as an officer would have it.
        if (auto* area = m_window.findChild<QMdiArea*>()) {
            if (QMdiSubWindow* sub = area->activeSubWindow())
                sub->showMaximized();
        }
        settle();
    }

    void closeScreens()
    {
        if (auto* area = m_window.findChild<QMdiArea*>())
            area->closeAllSubWindows();
        settle();
    }

    // Chooses the grid line whose column holds the text.
    void choose(const char* gridName, int column, const QString& text)
    {
        auto* grid = find<QTableView>(gridName);
        if (!grid || !grid->model())
            return;
        const QAbstractItemModel* model = grid->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            if (model->index(r, column).data().toString() == text) {
                grid->setCurrentIndex(model->index(r, column));
                settle();
                return;
            }
        }
        std::fprintf(stderr, "velmora-screenshots: %s has no line %s\n", gridName, qPrintable(text));
        m_ok = false;
    }

    void shoot(const QString& fileName)
    {
        settle();
        const QString path = QDir(m_folder).filePath(fileName);
        if (!m_window.grab().save(path)) {
            std::fprintf(stderr, "velmora-screenshots: cannot write %s\n", qPrintable(path));
            m_ok = false;
            return;
        }
        for (const QString& message : m_prompter.shown)
            std::fprintf(stderr, "  (%s) %s\n", qPrintable(fileName), qPrintable(message));
        m_prompter.clear();
        std::printf("%s\n", qPrintable(path));
    }

private:
    static void settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 150)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    TfrmVelmora& m_window;
    velmora::app::ScriptedPrompter& m_prompter;
    QString m_folder;
    bool m_ok = true;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    velmora::app::KeyboardPolicy::install();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("A demo database (velmora-cli init --demo)"),
        QStringLiteral("URL"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder of the pictures"),
        QStringLiteral("DIR"), QStringLiteral("."));
    parser.addOption(dbOption);
    parser.addOption(outOption);
    parser.process(app);
    if (!parser.isSet(dbOption)) {
        std::fprintf(stderr, "velmora-screenshots: --db is required\n");
        return 2;
    }
    QDir().mkpath(parser.value(outOption));

    velmora::app::ScriptedPrompter prompter;
    velmora::app::Session session;
    session.prompter = &prompter;
    velmora::app::ScreenRegistry screens;
    velmora::app::registerScreens(screens);

    TfrmVelmora window(session, parser.value(dbOption), screens);
    if (window.endRequested()) {
        std::fprintf(stderr, "velmora-screenshots: the program refused to start: %s\n",
            qPrintable(prompter.shown.join(QStringLiteral(" | "))));
        return 1;
    }
    window.resize(1280, 800);
    window.show();

    Shooter s(window, prompter, parser.value(outOption));
    s.type("edtName", QStringLiteral("demo"));
    s.type("edtPassword", QStringLiteral("demo1234"));
    s.shoot(QStringLiteral("login.png"));
    s.click("btnOK");
    if (!window.loggedIn()) {
        std::fprintf(stderr, "velmora-screenshots: the demo login was refused: %s\n",
            qPrintable(prompter.shown.join(QStringLiteral(" | "))));
        return 1;
    }
    s.shoot(QStringLiteral("main-window.png"));

    // The calculation: the list of this month's contract ends, then page 1 of
    // the worked example.
    s.open("N5");
    s.click("btnShow_Data");
    s.shoot(QStringLiteral("calculation-list.png"));
    s.choose("StringGrid1", 1, QStringLiteral("10000001"));
    s.click("btnCal_Money");
    s.shoot(QStringLiteral("calculation-page1.png"));
    s.closeScreens();

    // The report screens with the era beside their year boxes.
    s.open("N4");
    s.shoot(QStringLiteral("report-contract-end.png"));
    s.closeScreens();
    s.open("N13");
    s.shoot(QStringLiteral("report-forecast.png"));
    s.closeScreens();

    // The fund-source list from which the approval memo is printed.
    s.open("N15");
    s.click("btnShow_Data");
    s.shoot(QStringLiteral("fund-source.png"));
    s.closeScreens();

    // The liability outlook with its chart.
    s.open("N16");
    s.click("btnShow_Data");
    s.shoot(QStringLiteral("outlook.png"));
    s.closeScreens();

    return s.ok() ? 0 : 1;
}
