// The office's accounts from a shell: `user add|list|disable|enable|roles|reset-password`
// and the logged-in user's own `password`.

#include "cli/Command.h"

#include "files/ReportGrid.h"
#include "services/Accounts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace velmora::cli {
namespace {

const QString kSynopsis = QStringLiteral(
    "user add NAME --full-name TEXT --roles LIST | user list [--json] | user disable NAME | user enable NAME"
    " | user roles NAME --roles LIST | user reset-password NAME   (LIST: administrator,officer,checker,auditor)");

int runList(Context& c, bool json)
{
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    std::vector<accounts::Account> list;
    QString error;
    if (!accounts::listAccounts(*database, &list, &error))
        return c.refuse(error);
    if (json) {
        QJsonArray rows;
        for (const accounts::Account& a : list)
            rows.append(QJsonObject {{QStringLiteral("user"), a.userName}, {QStringLiteral("full_name"), a.fullName},
                {QStringLiteral("roles"), QJsonArray::fromStringList(rights::roleNames(a.roles))},
                {QStringLiteral("enabled"), a.enabled},
                {QStringLiteral("must_change_password"), a.mustChangePassword}});
        c.out(QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented)));
        return Success;
    }
    reports::ReportGrid grid;
    grid.titles = {QStringLiteral("user"), QStringLiteral("full_name"), QStringLiteral("roles"),
        QStringLiteral("enabled"), QStringLiteral("must_change_password")};
    const auto yesNo = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
    for (const accounts::Account& a : list)
        grid.rows << QStringList {a.userName, a.fullName, rights::roleNames(a.roles).join(QLatin1Char(',')),
            yesNo(a.enabled), yesNo(a.mustChangePassword)};
    const QByteArray csv = reports::gridToCsv(grid);
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
    std::fflush(stdout);
    return Success;
}

int runUser(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption fullName(
        QStringLiteral("full-name"), QStringLiteral("first and last name"), QStringLiteral("TEXT"));
    const QCommandLineOption roles(
        QStringLiteral("roles"), QStringLiteral("comma-separated roles"), QStringLiteral("LIST"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("JSON instead of CSV"));
    p.addOptions({fullName, roles, json});
    if (!c.parse(p, -1, kSynopsis))
        return Usage;
    const QStringList args = p.positionalArguments();
    const QString action = args.value(0);
    const QString usage = QStringLiteral("usage: velmora-cli ") + kSynopsis;
    if (action == QLatin1String("list"))
        return args.size() == 1 ? runList(c, p.isSet(json)) : c.usage(usage);
    const QStringList withName = {QStringLiteral("add"), QStringLiteral("disable"), QStringLiteral("enable"),
        QStringLiteral("roles"), QStringLiteral("reset-password")};
    if (!withName.contains(action) || args.size() != 2)
        return c.usage(usage);
    const bool needsRoles = action == QLatin1String("add") || action == QLatin1String("roles");
    if (needsRoles != p.isSet(roles) || (action == QLatin1String("add")) != p.isSet(fullName))
        return c.usage(usage);
    QList<rights::Role> chosen;
    QString error;
    if (needsRoles && !rights::parseRoles(p.value(roles), &chosen, &error))
        return c.refuse(error);
    const QString& name = args.at(1);

    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    bool done = false;
    if (action == QLatin1String("add") || action == QLatin1String("reset-password")) {
        const std::optional<QString> password = c.readNewPassword();
        if (!password)
            return Refused;
        done = action == QLatin1String("add")
            ? accounts::addAccount(*database, name, p.value(fullName), chosen, *password, &error)
            : accounts::resetAccountPassword(*database, name, *password, &error);
    } else if (action == QLatin1String("roles")) {
        done = accounts::setAccountRoles(*database, name, chosen, &error);
    } else {
        done = accounts::setAccountEnabled(*database, name, action == QLatin1String("enable"), &error);
    }
    if (!done)
        return c.refuse(error);
    c.outLine(QStringLiteral("บันทึกแล้ว: %1 %2").arg(action, name));
    return Success;
}

// The logged-in user's own password: the password logged in with is the old
// one, the new one the next line (or asked twice on a terminal).
int runPassword(Context& c)
{
    QCommandLineParser p;
    if (!c.parse(p, 0, QStringLiteral("password")))
        return Usage;
    auto database = c.openDatabase(Context::Use::PasswordChange);
    if (!database)
        return Refused;
    const std::optional<QString> password = c.readNewPassword();
    if (!password)
        return Refused;
    const db::PasswordChangeResult r = accounts::changeOwnPassword(*database, c.loginPassword(), *password, *password);
    if (r.status != db::PasswordChangeResult::Changed)
        return c.refuse(r.error.isEmpty() ? QStringLiteral("เปลี่ยนรหัสผ่านไม่สำเร็จ") : r.error);
    c.outLine(QStringLiteral("ทำการเปลี่ยนแปลงรหัสผ่านให้แล้ว"));
    return Success;
}

const Registration user({QStringLiteral("user"), kSynopsis, false, runUser});
const Registration password({QStringLiteral("password"),
    QStringLiteral("password   (the logged-in user's own: the new password is the next line)"), false, runPassword});

} // namespace
} // namespace velmora::cli
