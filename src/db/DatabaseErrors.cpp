// What a failed statement tells the officer: the driver's text, and what to
// do about it when the cause is known (another user's long write, a read-only
// or full disk, a file that cannot be reached, a lost server).

#include "db/Database.h"

#include <QSqlError>

namespace velmora::db {

namespace {

enum class Cause { Unknown, Busy, ReadOnly, DiskFull, FileAccess, ConnectionLost };

// SQLite gives its result code (primary in the low byte of an extended code),
// PostgreSQL its SQLSTATE.
Cause causeOf(const QSqlError& e)
{
    const QString code = e.nativeErrorCode();
    bool numeric = false;
    const int n = code.toInt(&numeric);
    if (numeric && code.size() < 5) {
        switch (n & 0xff) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return Cause::Busy;
        case 8: // SQLITE_READONLY
            return Cause::ReadOnly;
        case 13: // SQLITE_FULL
            return Cause::DiskFull;
        case 10: // SQLITE_IOERR
        case 14: // SQLITE_CANTOPEN
            return Cause::FileAccess;
        default:
            return Cause::Unknown;
        }
    }
    if (code == QLatin1String("25006")) // read_only_sql_transaction
        return Cause::ReadOnly;
    if (code == QLatin1String("53100")) // disk_full
        return Cause::DiskFull;
    if (code == QLatin1String("55P03") || code == QLatin1String("40P01")) // lock_not_available, deadlock
        return Cause::Busy;
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")))
        return Cause::ConnectionLost;
    // libpq's own words when the session is gone (no SQLSTATE comes with them).
    const QString text = e.databaseText() + e.driverText();
    for (const char* lost : {"server closed the connection", "no connection to the server", "terminating connection",
             "could not receive data from server", "could not send data to server"}) {
        if (text.contains(QLatin1String(lost), Qt::CaseInsensitive))
            return Cause::ConnectionLost;
    }
    return Cause::Unknown;
}

} // namespace

QString driverError(const QSqlError& e)
{
    QString text = e.text().trimmed();
    if (text.isEmpty())
        text = e.databaseText().trimmed();
    return text;
}

QString readOnlyMessage()
{
    return QStringLiteral("ฐานข้อมูลนี้เปิดได้เพื่ออ่านอย่างเดียว (แฟ้ม โฟลเดอร์ หรือไดรฟ์ที่เก็บไม่อนุญาตให้เขียน) "
                          "จึงบันทึกหรือแก้ไขข้อมูลไม่ได้ ไม่มีข้อมูลใดถูกบันทึก: ขอสิทธิ์เขียนจากผู้ดูแลเครื่อง "
                          "หรือย้ายฐานข้อมูลไปไว้ในโฟลเดอร์ที่เขียนได้ แล้วทำรายการใหม่");
}

QString busyMessage()
{
    return QStringLiteral("ผู้ใช้อื่นกำลังบันทึกข้อมูลลงฐานข้อมูลนานเกิน %1 วินาที จึงยังบันทึกรายการนี้ไม่ได้ "
                          "ไม่มีข้อมูลใดถูกบันทึก: รอสักครู่แล้วทำรายการนี้ใหม่ "
                          "ถ้ายังไม่ได้ ให้ตรวจว่ามีการนำเข้าข้อมูลหรือโปรแกรมที่ค้างอยู่บนเครื่องอื่นหรือไม่")
        .arg(qMax(1, Database::busyTimeout() / 1000));
}

QString describeError(const QSqlError& error)
{
    QString text = driverError(error);
    QString advice;
    switch (causeOf(error)) {
    case Cause::Busy:
        advice = busyMessage();
        break;
    case Cause::ReadOnly:
        advice = readOnlyMessage();
        break;
    case Cause::DiskFull:
        advice = QStringLiteral("พื้นที่ดิสก์ที่เก็บฐานข้อมูลเต็ม: ลบแฟ้มที่ไม่ใช้ให้มีที่ว่าง แล้วทำรายการใหม่");
        break;
    case Cause::FileAccess:
        advice = QStringLiteral("อ่านหรือเขียนแฟ้มฐานข้อมูลไม่ได้: ตรวจว่าแฟ้ม โฟลเดอร์ และไดรฟ์ที่เก็บยังอยู่ "
                                "มีที่ว่าง และมีสิทธิ์เขียน");
        break;
    case Cause::ConnectionLost:
        advice = QStringLiteral("การติดต่อกับเครื่องแม่ข่ายฐานข้อมูลขาดหาย: ตรวจเครือข่ายและเครื่องแม่ข่าย แล้วทำรายการใหม่");
        break;
    case Cause::Unknown:
        break;
    }
    // Qt leaves the error empty when the connection is no longer open.
    if (text.isEmpty())
        return QStringLiteral("ฐานข้อมูลไม่แจ้งสาเหตุ การติดต่อกับฐานข้อมูลอาจขาดหาย: ตรวจเครือข่ายและเครื่องแม่ข่าย "
                              "แล้วทำรายการใหม่");
    return advice.isEmpty() ? text : advice + QStringLiteral(" (") + text + QLatin1Char(')');
}

QString lostConnectionMessage()
{
    return QStringLiteral("ไม่ได้ติดต่อกับฐานข้อมูลอยู่ (การติดต่อขาดหาย): ตรวจเครือข่ายและเครื่องแม่ข่าย แล้วทำรายการใหม่");
}

} // namespace velmora::db
