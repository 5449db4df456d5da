#include "cli/Command.h"

#include "cli/Terminal.h"

#include "db/Config.h"
#include "db/Schema.h"
#include "services/Accounts.h"
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
    auto database = openUnlogged();
    if (!database || !logIn(*database, use == Use::PasswordChange))
        return nullptr;
    if (use != Use::Reading) {
        const QString said = backup::backupAtStart(*database);
        if (!said.isEmpty())
            refuse(said);
    }
    return database;
}

bool Context::readLoginPassword()
{
    if (!m_password.isEmpty())
        return true;
    if (m_login.isEmpty()) {
        refuse(QStringLiteral("ต้องเข้าสู่ระบบก่อน: ใส่ --login ชื่อผู้ใช้ ไว้หน้าคำสั่ง (หรือตั้งค่า VELMORA_LOGIN) "
                              "แล้วใส่รหัสผ่านเมื่อถูกถาม หรือส่งทางบรรทัดแรกของอินพุตมาตรฐาน"));
        return false;
    }
    m_password = stdinIsTerminal() ? promptPassword(QStringLiteral("รหัสผ่านของ %1: ").arg(m_login)) : readStdinLine();
    if (m_password.isEmpty()) {
        refuse(QStringLiteral("กรุณาใส่รหัสผ่านด้วย"));
        return false;
    }
    return true;
}

bool Context::logIn(const db::Database& db, bool forPasswordChange)
{
    if (!readLoginPassword())
        return false;
    // the action's own row names the user: the login writes none
    const accounts::LoginOutcome outcome = accounts::logIn(db, m_login, m_password, false);
    if (!outcome.ok()) {
        refuse(outcome.message);
        return false;
    }
    if (outcome.result.mustChangePassword && !forPasswordChange) {
        refuse(QStringLiteral("ต้องเปลี่ยนรหัสผ่านก่อนใช้งาน: velmora-cli --login %1 password "
                              "(รหัสผ่านที่ได้รับ แล้วรหัสผ่านใหม่)")
                   .arg(m_login));
        return false;
    }
    if (!outcome.result.notice.isEmpty())
        refuse(outcome.result.notice); // said, not refused
    return true;
}

std::optional<QString> Context::readNewPassword()
{
    if (!stdinIsTerminal()) {
        const QString pw = readStdinLine();
        if (pw.isEmpty()) {
            refuse(QStringLiteral("ไม่ได้รับรหัสผ่านใหม่ทางอินพุตมาตรฐาน (บรรทัดว่าง)"));
            return std::nullopt;
        }
        return pw;
    }
    const QString pw = promptPassword(QStringLiteral("รหัสผ่านใหม่: "));
    const QString again = promptPassword(QStringLiteral("ยืนยันรหัสผ่านใหม่: "));
    if (pw != again) {
        refuse(QStringLiteral("รหัสผ่านและรหัสยืนยันไม่เหมือนกัน กรุณาใส่ใหม่"));
        return std::nullopt;
    }
    return pw;
}

std::unique_ptr<db::Database> Context::openUnlogged(bool* created)
{
    const bool asLogin = db::Database::takesServerLogin(databaseUrl());
    if (asLogin && !readLoginPassword())
        return nullptr;
    return openWith(asLogin, created);
}

std::unique_ptr<db::Database> Context::openWith(bool asLogin, bool* created)
{
    QString error;
    auto database = asLogin ? db::Database::openAs(databaseUrl(), m_login, m_password, &error)
                            : db::Database::open(databaseUrl(), &error);
    if (!database) {
        const QString refusal = asLogin ? accounts::serverLoginRefusal(error) : QString();
        refuse(refusal.isEmpty() ? QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้: ") + error : refusal);
        return nullptr;
    }
    if (!db::ensureSchema(*database, &error, created)) {
        refuse(QStringLiteral("ไม่สามารถใช้ฐานข้อมูลนี้ได้: ") + error);
        return nullptr;
    }
    // The desktop program's version check, before anything is read or written.
    if (!db::checkVersion(*database, &error)) {
        refuse(error);
        return nullptr;
    }
    return database;
}

QString PasswordOptions::misuse(const QCommandLineParser& parser) const
{
    if (parser.isSet(password) && parser.isSet(passwordStdin))
        return QStringLiteral("--password and --password-stdin exclude each other");
    return {};
}

std::optional<QString> PasswordOptions::read(const Context& c, const QCommandLineParser& parser, bool prompt) const
{
    if (parser.isSet(passwordStdin)) {
        const QString pw = readStdinLine();
        if (pw.isEmpty()) {
            c.refuse(QStringLiteral("ไม่ได้รับรหัสผ่านทางอินพุตมาตรฐาน (บรรทัดว่าง)"));
            return std::nullopt;
        }
        return pw;
    }
    if (parser.isSet(password) || !prompt)
        return parser.value(password);
    const QString pw = promptPassword(QStringLiteral("รหัสผ่าน: "));
    const QString again = promptPassword(QStringLiteral("ยืนยันรหัสผ่าน: "));
    if (pw != again) {
        c.refuse(QStringLiteral("รหัสผ่านและรหัสยืนยันไม่เหมือนกัน กรุณาใส่ใหม่"));
        return std::nullopt;
    }
    return pw;
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

void Context::errLine(const QString& text) const
{
    const QByteArray utf8 = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stderr);
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
