#include "AppTestSupport.h"

#include "db/Users.h"
#include "gui/main/Screens.h"
#include "services/Rights.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace velmora::test {

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

void retype(QWidget* lineEdit, const QString& text)
{
    static_cast<QLineEdit*>(lineEdit)->clear();
    typeText(lineEdit, text);
}

void showAndActivate(QWidget* window)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

MainWindowTest::MainWindowTest()
{
    app::registerScreens(screens);
    session.prompter = &prompter;
    session.localNow = [] { return QDateTime(QDate(2017, 3, 18), QTime(10, 0)); };
    session.dateSeparator = QStringLiteral("/");
    session.localAddress = [] { return QStringLiteral("192.0.2.7"); };
}

MainWindowTest::~MainWindowTest()
{
    window.reset();
    // a login through the window stays the process's: the next test starts as the tests' user again
    rights::setLogin({QStringLiteral("tester"), rights::allRoles()});
}

app::TfrmVelmora& MainWindowTest::start()
{
    return start(tdb.url());
}

app::TfrmVelmora& MainWindowTest::start(const QString& url)
{
    window.reset();
    window = std::make_unique<app::TfrmVelmora>(session, url, screens);
    QObject::connect(window.get(), &app::TfrmVelmora::programEndRequested, [this] { ++endRequests; });
    return *window;
}

void MainWindowTest::addUser(const QString& name, const QString& password, const QString& first, const QString& last)
{
    QString error;
    ASSERT_TRUE(db::addUser(tdb.db(), name, password, first, last, &error, db::allRoleNames())) << error.toStdString();
}

void MainWindowTest::login(const QString& name, const QString& password)
{
    retype(child<QLineEdit>("edtName"), name);
    retype(child<QLineEdit>("edtPassword"), password);
    child<QPushButton>("btnOK")->click();
}

} // namespace velmora::test
