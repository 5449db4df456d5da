#include "services/OfficeSettings.h"

#include "db/AuditLog.h"
#include "db/Database.h"
#include "db/Statement.h"
#include "services/Rights.h"

#include <QSqlQuery>
#include <QVariant>

namespace velmora::office {

namespace {

const QString kFourEyes = QStringLiteral("four-eyes");

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

bool fourEyesRequired(const db::Database& db, bool* on, QString* error)
{
    QSqlQuery q = db.query();
    if (!db::prepareAndRun(db, q, QStringLiteral("SELECT Setting_Value FROM EP_Setting WHERE Setting_Name = ?"),
            {kFourEyes}, QStringLiteral("อ่านการตั้งค่าการตรวจสอบ"), error))
        return false;
    *on = !q.next() || q.value(0).toString() != onOff(false);
    return true;
}

bool setFourEyesRequired(const db::Database& db, bool on, QString* error)
{
    if (!rights::allowed(db, rights::Action::FourEyesSetting, error))
        return false;
    db::Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    bool before = true;
    if (!fourEyesRequired(db, &before, error))
        return false;
    if (before == on)
        return true;
    const QString purpose = QStringLiteral("บันทึกการตั้งค่าการตรวจสอบ");
    return db::prepareAndRun(
               db, QStringLiteral("DELETE FROM EP_Setting WHERE Setting_Name = ?"), {kFourEyes}, purpose, error)
        && db::prepareAndRun(db, QStringLiteral("INSERT INTO EP_Setting (Setting_Name, Setting_Value) VALUES (?, ?)"),
            {kFourEyes, onOff(on)}, purpose, error)
        && audit::record(db, QLatin1String(audit::kind::kFourEyesChanged), QString(),
            QJsonObject {{QStringLiteral("old"), onOff(before)}, {QStringLiteral("new"), onOff(on)}}, error)
        && tx.commit(error);
}

bool recordOrganisationChange(const db::Database& db, const QJsonObject& details,
    const std::function<bool(QString* error)>& change, QString* error)
{
    if (!rights::allowed(db, rights::Action::OrganisationSettings, error))
        return false;
    return audit::recordAround(db, QLatin1String(audit::kind::kSettingsChanged), QString(), details, change, error);
}

} // namespace velmora::office
