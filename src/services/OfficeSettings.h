#pragma once

// Settings of the whole office, kept in the database (EP_Setting) so that
// every desktop sees the same value, and the recording of the organisation's
// memo data, which each desktop keeps in its own settings file.

#include <QJsonObject>
#include <QString>

#include <functional>

namespace velmora::db {
class Database;
}

namespace velmora::office {

// Whether a saved calculation must be checked by a second user before it can
// go on an approval memo ("ต้องตรวจสอบก่อนพิมพ์บันทึกข้อความ"); on unless an
// administrator turned it off.
bool fourEyesRequired(const db::Database& db, bool* on, QString* error);
// Turns it on or off (administrator); the change is logged (four-eyes-changed,
// old and new value). Setting the value it already has writes nothing.
bool setFourEyesRequired(const db::Database& db, bool on, QString* error);

// A change of the organisation's memo data (administrator): runs `change`
// (the settings file's save) with its settings-changed row, as
// audit::recordAround does.
bool recordOrganisationChange(const db::Database& db, const QJsonObject& details,
    const std::function<bool(QString* error)>& change, QString* error);

} // namespace velmora::office
