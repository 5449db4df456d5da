#include "cli/Command.h"
#include "cli/Terminal.h"

#include "db/DemoData.h"
#include "db/Schema.h"
#include "db/Statement.h"
#include "db/Users.h"

#include <QSqlQuery>

namespace velmora::cli {
namespace {

const QString kInitSynopsis = QStringLiteral("init [--user NAME [--password-stdin | --password PW]] [--demo]");

bool anyUser(const db::Database& database, bool* present, QString* error)
{
    QSqlQuery q = database.query();
    if (!db::prepareAndRun(database, q, QStringLiteral("SELECT COUNT(*) FROM EP_TR_User"), {},
            QStringLiteral("counting the users"), error))
        return false;
    *present = q.next() && q.value(0).toInt() > 0;
    return true;
}

int runInit(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("first user's name"), QStringLiteral("NAME"));
    const QCommandLineOption password(QStringLiteral("password"),
        QStringLiteral("first user's password (seen by every user of the machine in the process list: prefer "
                       "--password-stdin or the prompt)"),
        QStringLiteral("PW"));
    const QCommandLineOption passwordStdin(QStringLiteral("password-stdin"),
        QStringLiteral("read the first user's password from the first line of standard input"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("add sample data and the demo login"));
    p.addOptions({user, password, passwordStdin, demo});
    const QString synopsis = kInitSynopsis;
    if (!c.parse(p, 0, synopsis))
        return Usage;
    if (p.isSet(password) && p.isSet(passwordStdin))
        return c.usage(
            QStringLiteral("--password and --password-stdin exclude each other\nusage: velmora-cli ") + synopsis);
    if ((p.isSet(password) || p.isSet(passwordStdin)) && !p.isSet(user))
        return c.usage(QStringLiteral("a password option needs --user\nusage: velmora-cli ") + synopsis);
    // --user alone asks for the password on the terminal (not echoed).
    const bool askPassword = p.isSet(user) && !p.isSet(password) && !p.isSet(passwordStdin);
    if (askPassword && !stdinIsTerminal())
        return c.usage(
            QStringLiteral("--user needs --password-stdin when standard input is not a terminal\nusage: velmora-cli ")
            + synopsis);
    QString pw = p.value(password);
    if (p.isSet(passwordStdin)) {
        pw = readStdinLine();
        if (pw.isEmpty())
            return c.refuse(QStringLiteral("ไม่ได้รับรหัสผ่านทางอินพุตมาตรฐาน (บรรทัดแรกว่าง)"));
    }

    QString error;
    auto database = db::Database::open(c.databaseUrl(), &error);
    if (!database)
        return c.refuse(QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้: ") + error);
    bool created = false;
    if (!db::ensureSchema(*database, &error, &created))
        return c.refuse(QStringLiteral("ไม่สามารถใช้ฐานข้อมูลนี้ได้: ") + error);
    if (!db::checkVersion(*database, &error))
        return c.refuse(error);
    c.outLine(created ? QStringLiteral("สร้างตารางและข้อมูลเริ่มต้นแล้ว (รุ่น %1)").arg(QLatin1String(db::kSchemaVersion))
                      : QStringLiteral("ฐานข้อมูลมีตารางอยู่แล้ว ไม่ได้เปลี่ยนแปลง"));

    QString name = p.value(user);
    bool haveUser = false;
    if (!anyUser(*database, &haveUser, &error))
        return c.refuse(error);
    const bool askUser = !p.isSet(user) && !haveUser && !p.isSet(demo) && stdinIsTerminal();
    if (askUser)
        name = promptLine(QStringLiteral("ชื่อผู้ใช้คนแรก (ว่างไว้เพื่อข้าม): "));
    // The password is asked only for a user that will be added.
    if ((askUser || askPassword) && !name.isEmpty()) {
        const bool exists = db::userExists(*database, name, &error);
        if (!error.isEmpty())
            return c.refuse(error);
        if (!exists) {
            pw = promptPassword(QStringLiteral("รหัสผ่าน: "));
            const QString again = promptPassword(QStringLiteral("ยืนยันรหัสผ่าน: "));
            if (pw != again)
                return c.refuse(QStringLiteral("รหัสผ่านและรหัสยืนยันไม่เหมือนกัน กรุณาใส่ใหม่"));
        }
    }
    if (!name.isEmpty()) {
        const bool exists = db::userExists(*database, name, &error);
        if (!error.isEmpty())
            return c.refuse(error);
        if (exists) {
            c.outLine(QStringLiteral("มีผู้ใช้ %1 อยู่แล้ว ไม่ได้เปลี่ยนรหัสผ่าน").arg(name));
        } else {
            if (!db::addUser(*database, name, pw, QString(), QString(), &error))
                return c.refuse(error);
            c.outLine(QStringLiteral("เพิ่มผู้ใช้ %1 แล้ว").arg(name));
            haveUser = true;
        }
    }
    if (p.isSet(demo)) {
        const auto now = database->serverNow(&error);
        if (!now)
            return c.refuse(error);
        if (!db::addDemoData(*database, now->date(), &error))
            return c.refuse(QStringLiteral("ไม่สามารถเพิ่มข้อมูลตัวอย่างได้: ") + error);
        c.outLine(QStringLiteral("เพิ่มข้อมูลตัวอย่างแล้ว: เข้าระบบด้วยชื่อ %1 รหัสผ่าน %2")
                      .arg(QLatin1String(db::kDemoUser), QLatin1String(db::kDemoPassword)));
        haveUser = true;
    }
    if (!haveUser)
        c.outLine(QStringLiteral("ยังไม่มีผู้ใช้ในระบบ: เพิ่มผู้ใช้คนแรกด้วย velmora-cli init --user ชื่อ "
                                 "(แล้วพิมพ์รหัสผ่านเมื่อถูกถาม หรือส่งทาง --password-stdin)"));
    return Success;
}

const Registration reg({QStringLiteral("init"), kInitSynopsis, false, runInit});

} // namespace
} // namespace velmora::cli
