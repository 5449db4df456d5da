#include "cli/Command.h"
#include "cli/Terminal.h"

#include "db/DemoData.h"
#include "db/Schema.h"
#include "db/Users.h"
#include "services/Accounts.h"

namespace velmora::cli {
namespace {

const QString kInitSynopsis = QStringLiteral("init [--user NAME [--password-stdin | --password PW]] [--demo]");

int runInit(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("first user's name"), QStringLiteral("NAME"));
    const PasswordOptions passwords;
    const QCommandLineOption& password = passwords.password;
    const QCommandLineOption& passwordStdin = passwords.passwordStdin;
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("add sample data and the demo login"));
    p.addOptions({user, password, passwordStdin, demo});
    const QString synopsis = kInitSynopsis;
    if (!c.parse(p, 0, synopsis))
        return Usage;
    if (!passwords.misuse(p).isEmpty())
        return c.usage(passwords.misuse(p) + QStringLiteral("\nusage: velmora-cli ") + synopsis);
    if (passwords.given(p) && !p.isSet(user))
        return c.usage(QStringLiteral("a password option needs --user\nusage: velmora-cli ") + synopsis);
    // --user alone asks for the password on the terminal (not echoed).
    const bool askPassword = p.isSet(user) && !p.isSet(password) && !p.isSet(passwordStdin);
    if (askPassword && !stdinIsTerminal())
        return c.usage(
            QStringLiteral("--user needs --password-stdin when standard input is not a terminal\nusage: velmora-cli ")
            + synopsis);
    bool created = false;
    auto database = c.openUnlogged(&created);
    if (!database)
        return Refused;
    c.outLine(created ? QStringLiteral("สร้างตารางและข้อมูลเริ่มต้นแล้ว (รุ่น %1)").arg(QLatin1String(db::kSchemaVersion))
                      : QStringLiteral("ฐานข้อมูลมีตารางอยู่แล้ว ไม่ได้เปลี่ยนแปลง"));
    QString error;
    bool haveUser = false;
    if (!accounts::anyAccount(*database, &haveUser, &error))
        return c.refuse(error);
    const bool hadUsers = haveUser;

    QString name = p.value(user);
    const bool askUser = !p.isSet(user) && !haveUser && !p.isSet(demo) && stdinIsTerminal();
    if (askUser)
        name = promptLine(QStringLiteral("ชื่อผู้ใช้คนแรก (ว่างไว้เพื่อข้าม): "));
    if (!name.isEmpty()) {
        const bool exists = db::userExists(*database, name, &error);
        if (!error.isEmpty())
            return c.refuse(error);
        if (exists) {
            c.outLine(QStringLiteral("มีผู้ใช้ %1 อยู่แล้ว ไม่ได้เปลี่ยนรหัสผ่าน").arg(name));
        } else {
            // The first user needs no login; another one is added by an
            // administrator, whose password comes first.
            if (haveUser && !c.logIn(*database))
                return Refused;
            const std::optional<QString> read = passwords.read(c, p, askUser || askPassword);
            if (!read)
                return Refused;
            const QString& pw = *read;
            const bool added = haveUser
                ? accounts::addAccount(*database, name, QString(), rights::allRoles(), pw, &error)
                : accounts::addFirstAccount(*database, name, QString(), pw, &error);
            if (!added)
                return c.refuse(error);
            c.outLine(QStringLiteral("เพิ่มผู้ใช้ %1 แล้ว (ทุกบทบาท)").arg(name));
            haveUser = true;
        }
    }
    if (p.isSet(demo)) {
        const bool present = db::userExists(*database, QLatin1String(db::kDemoUser), &error);
        if (!error.isEmpty())
            return c.refuse(error);
        if (!present) {
            // sample data goes only into a database nobody worked in before
            if (hadUsers)
                return c.refuse(QStringLiteral("ฐานข้อมูลนี้มีผู้ใช้อยู่แล้ว: ข้อมูลตัวอย่างใส่ได้เฉพาะฐานข้อมูลที่ยังไม่มีผู้ใช้"));
            const auto now = database->serverNow(&error);
            if (!now)
                return c.refuse(error);
            if (!db::addDemoData(*database, now->date(), &error))
                return c.refuse(QStringLiteral("ไม่สามารถเพิ่มข้อมูลตัวอย่างได้: ") + error);
        }
        c.outLine(QStringLiteral("%1ข้อมูลตัวอย่างแล้ว: เข้าระบบด้วยชื่อ %2 รหัสผ่าน %3")
                      .arg(present ? QStringLiteral("มี") : QStringLiteral("เพิ่ม"), QLatin1String(db::kDemoUser),
                          QLatin1String(db::kDemoPassword)));
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
