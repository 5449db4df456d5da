// `server-setup --user NAME`: run with the database owner's URL, makes the
// PostgreSQL server hold the rights itself (services/ServerSetup.h).

#include "cli/Command.h"
#include "cli/Terminal.h"

#include "services/ServerSetup.h"

namespace velmora::cli {
namespace {

const QString kSynopsis = QStringLiteral("server-setup --user NAME [--password-stdin | --password PW]");

int runServerSetup(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption user(
        QStringLiteral("user"), QStringLiteral("the first administrator's login"), QStringLiteral("NAME"));
    const PasswordOptions passwords;
    p.addOptions({user, passwords.password, passwords.passwordStdin});
    if (!c.parse(p, 0, kSynopsis))
        return Usage;
    if (!p.isSet(user) || p.value(user).isEmpty())
        return c.usage(QStringLiteral("server-setup needs --user NAME\nusage: velmora-cli ") + kSynopsis);
    if (!passwords.misuse(p).isEmpty())
        return c.usage(passwords.misuse(p) + QStringLiteral("\nusage: velmora-cli ") + kSynopsis);
    if (!passwords.given(p) && !stdinIsTerminal())
        return c.usage(
            QStringLiteral("--user needs --password-stdin when standard input is not a terminal\nusage: velmora-cli ")
            + kSynopsis);
    // the owner's connection: no login of the program
    auto database = c.openUnlogged();
    if (!database)
        return Refused;
    const std::optional<QString> password = passwords.read(c, p, true);
    if (!password)
        return Refused;
    if (password->isEmpty())
        return c.refuse(QStringLiteral("กรุณาใส่รหัสผ่านด้วย"));
    QString error;
    if (!server::setUp(*database, p.value(user), *password, &error))
        return c.refuse(error);
    c.outLine(QStringLiteral("ตั้งค่าสิทธิ์บนเซิร์ฟเวอร์แล้ว: บทบาทกลุ่ม velmora_administrator, velmora_officer, "
                             "velmora_checker, velmora_auditor; ผู้ใช้ %1 เข้าสู่ระบบด้วยรหัสผ่านที่ให้ไว้ "
                             "ผู้ใช้อื่นรอผู้ดูแลระบบตั้งรหัสผ่านด้วย user reset-password")
                  .arg(p.value(user)));
    return Success;
}

const Registration reg({QStringLiteral("server-setup"), kSynopsis, false, runServerSetup});

} // namespace
} // namespace velmora::cli
