// velmora-screenshots: the pictures of the user guides (docs/คู่มือการใช้งาน.md,
// docs/user-guide.md), taken from the real screens on a demo database at the
// size of the most common office laptop, 1366 × 768, so that they can be
// taken again after a change:
//
//   velmora-cli --db sqlite:/tmp/shots.sqlite init --demo
//   bench_import_generate /tmp/shots 25 40        (workbooks for the imports)
//   xvfb-run -a -s "-screen 0 1366x768x24" velmora-screenshots --db sqlite:/tmp/shots.sqlite
//       --employees /tmp/shots/employees.xlsx --history /tmp/shots/history.xlsx --out docs/screens
//
// The program logs in as the demo user, opens every screen the screen
// registry knows (screen-NAME.png, NAME being the screen's object name) and
// then walks the month's work step by step (import, calculation pages 1 to
// 6, month-end run, reports, fund-source list, outlook, audit trail, the
// guide itself). Each screen's minimum size is printed beside its picture.
// Messages are answered "yes" and listed on standard error, so a refusal on
// the way shows up instead of a dialog waiting for a click. Nothing is saved
// to the database. Exit status 1 when a step cannot find its control.

#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/ToolkitTexts.h"
#include "gui/main/Screens.h"
#include "gui/main/UUser_Guide.h"
#include "gui/main/UVelmora.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QSet>
#include <QTabWidget>
#include <QTableView>

#include <cstdio>

namespace {

using velmora::app::TfrmVelmora;

// The pictures' size: the whole screen of the office laptop.
constexpr int kWidth = 1366;
constexpr int kHeight = 768;

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

    // Opens a screen from its menu item, maximised as an officer has it;
    // the screen, or null for a menu item that opens a dialog.
    QWidget* open(const QString& menuItem)
    {
        const QWidgetList before = QApplication::topLevelWidgets();
        QWidget* screen = m_window.openScreen(menuItem);
        settle();
        if (screen)
            return screen;
        // a dialog over the main window (the organisation's memo data)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!before.contains(w) && qobject_cast<QDialog*>(w) && w->isVisible())
                return w;
        return nullptr;
    }

    void closeScreens()
    {
        m_window.mdiArea()->closeAllSubWindows();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(w) && w->isVisible())
                w->close();
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

    // The main window, or another window (a dialog, the guide) when given.
    void shoot(const QString& fileName, QWidget* window = nullptr)
    {
        settle();
        const QString path = QDir(m_folder).filePath(fileName);
        if (!(window ? window : &m_window)->grab().save(path)) {
            std::fprintf(stderr, "velmora-screenshots: cannot write %s\n", qPrintable(path));
            m_ok = false;
            return;
        }
        for (const QString& message : m_prompter.shown)
            std::fprintf(stderr, "  (%s) %s\n", qPrintable(fileName), qPrintable(message));
        m_prompter.clear();
        std::printf("%s\n", qPrintable(path));
    }

    static void settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 150)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

private:
    TfrmVelmora& m_window;
    velmora::app::ScriptedPrompter& m_prompter;
    QString m_folder;
    bool m_ok = true;
};

// Every screen the registry knows, empty as it opens, with its minimum size.
void everyScreen(Shooter& s, const velmora::app::ScreenRegistry& screens)
{
    QStringList items = velmora::app::screenMenuItems();
    for (const QString& item : screens.menuItems())
        if (!items.contains(item))
            items << item;
    for (const QString& item : items) {
        if (!screens.has(item))
            continue;
        QWidget* screen = s.open(item);
        if (!screen) {
            std::fprintf(stderr, "velmora-screenshots: %s opened nothing\n", qPrintable(item));
            continue;
        }
        const QSize least = screen->minimumSizeHint().expandedTo(screen->minimumSize());
        std::printf("%-16s %-32s at least %d x %d\n", qPrintable(item), qPrintable(screen->objectName()),
            least.width(), least.height());
        const bool dialog = qobject_cast<QDialog*>(screen) != nullptr;
        s.shoot(QStringLiteral("screen-%1.png").arg(screen->objectName()), dialog ? screen : nullptr);
        s.closeScreens();
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    velmora::app::KeyboardPolicy::install();
    velmora::app::installThaiCatalogue();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("A demo database (velmora-cli init --demo)"),
        QStringLiteral("URL"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder of the pictures"),
        QStringLiteral("DIR"), QStringLiteral("."));
    const QCommandLineOption employeesOption(QStringLiteral("employees"),
        QStringLiteral("An employee workbook to show loaded on the import screen"), QStringLiteral("FILE"));
    const QCommandLineOption historyOption(QStringLiteral("history"),
        QStringLiteral("An employment-history workbook to show loaded on its import screen"), QStringLiteral("FILE"));
    parser.addOption(dbOption);
    parser.addOption(outOption);
    parser.addOption(employeesOption);
    parser.addOption(historyOption);
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
    window.setGeometry(0, 0, kWidth, kHeight);
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
    // The login maximises the window to the display's screen: the pictures
    // stay 1366 × 768 on a smaller one (the offscreen platform's).
    window.setWindowState(Qt::WindowNoState);
    window.setGeometry(0, 0, kWidth, kHeight);
    Shooter::settle();
    s.shoot(QStringLiteral("main-window.png"));

    everyScreen(s, screens);

    // 1. The imports, each with its workbook loaded (nothing is saved).
    if (parser.isSet(employeesOption)) {
        s.open(QStringLiteral("N23"));
        prompter.openAnswers.push_back(parser.value(employeesOption));
        s.click("BitBtn1");
        if (auto* pages = s.find<QTabWidget>("PageControl1"))
            pages->setCurrentIndex(0);
        s.shoot(QStringLiteral("step-import-employees.png"));
        s.closeScreens();
    }
    if (parser.isSet(historyOption)) {
        s.open(QStringLiteral("N6"));
        prompter.openAnswers.push_back(parser.value(historyOption));
        s.click("BitBtn1");
        s.shoot(QStringLiteral("step-import-history.png"));
        s.closeScreens();
    }

    // 2. The calculation: the list of this month's contract ends, then the
    // six pages of the worked example.
    s.open(QStringLiteral("N5"));
    s.click("btnShow_Data");
    s.shoot(QStringLiteral("step-calculation-list.png"));
    s.choose("StringGrid1", 1, QStringLiteral("10000001"));
    s.click("btnCal_Money");
    s.shoot(QStringLiteral("step-calculation-page1.png"));
    for (int page = 1; page <= 5; ++page) {
        s.click(QStringLiteral("btnNext%1").arg(page).toLatin1().constData());
        s.shoot(QStringLiteral("step-calculation-page%1.png").arg(page + 1));
    }
    s.closeScreens();

    // 3. The month-end run of this month's contract ends.
    s.open(QStringLiteral("NRun1"));
    s.click("btnPreview");
    s.shoot(QStringLiteral("step-month-end-run.png"));
    s.closeScreens();

    // 4. The reports with their results.
    const struct
    {
        const char* item;
        const char* picture;
    } reports[] = {{"N4", "step-report-contract-end.png"}, {"N7", "step-report-received.png"},
        {"N13", "step-report-forecast.png"}, {"N9", "step-disbursement-detail.png"},
        {"N16", "step-outlook.png"}};
    for (const auto& r : reports) {
        s.open(QLatin1String(r.item));
        s.click("btnShow_Data");
        s.shoot(QLatin1String(r.picture));
        s.closeScreens();
    }

    // 5. The fund-source list, its first line marked, and the memo's choices.
    s.open(QStringLiteral("N15"));
    s.click("btnShow_Data");
    s.click("btnSelect2");
    s.shoot(QStringLiteral("step-fund-source.png"));
    s.click("Button2");
    s.shoot(QStringLiteral("step-approval-memo.png"));
    s.closeScreens();

    // 6. The audit trail of what this database went through.
    s.open(QStringLiteral("AuditTrail1"));
    s.shoot(QStringLiteral("step-audit-trail.png"));
    s.closeScreens();

    // 7. The guide, opened by F1 on the calculation screen.
    s.open(QStringLiteral("N5"));
    if (auto* guide = s.find<QAction>("NGuide"))
        guide->trigger();
    Shooter::settle();
    if (window.userGuide())
        s.shoot(QStringLiteral("help-guide.png"), window.userGuide());
    s.closeScreens();

    return s.ok() ? 0 : 1;
}
