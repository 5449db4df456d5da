#include "db/AuditLog.h"

#include "db/Prepared.h"
#include "db/Sha256.h"

#include "db/LocalAddress.h"

#include <QJsonDocument>
#include <QMutex>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>


#include <charconv>

namespace velmora::audit {

namespace {

QMutex g_actorLock;
Actor g_actor;

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The driver's text with the advice for known causes (read-only, busy, lost
// server) in front.
QString driverText(const QSqlQuery& q)
{
    return db::describeError(q.lastError()).trimmed();
}

// The head row with the server's local time. On SQLite the writing
// transaction began with the write lock (db::Transaction: BEGIN IMMEDIATE), so
// no other writer can move the head before this one commits; a transaction
// begun without it would fail on its first write rather than fork the chain.
// PostgreSQL and SQL Server lock the row until the transaction ends.
QString headSelect(db::Backend backend)
{
    switch (backend) {
    case db::Backend::Sqlite:
        return QStringLiteral("SELECT Seq_No, Chain_Value, datetime('now', 'localtime') FROM EP_Audit_Head");
    case db::Backend::Postgres:
        return QStringLiteral("SELECT Seq_No, Chain_Value, LOCALTIMESTAMP(0) FROM EP_Audit_Head FOR UPDATE");
    case db::Backend::SqlServer:
        return QStringLiteral(
            "SELECT Seq_No, Chain_Value, GETDATE() FROM EP_Audit_Head WITH (UPDLOCK, HOLDLOCK, ROWLOCK)");
    }
    return {};
}

const QString kInsertRow = QStringLiteral("INSERT INTO EP_Audit_Log (Seq_No, Event_Time, User_Name, Origin,"
                                          " Machine_Address, Event_Kind, SapID, Details, Chain_Value)"
                                          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
const QString kMoveHead = QStringLiteral("UPDATE EP_Audit_Head SET Seq_No = ?, Chain_Value = ?");
// PostgreSQL adds the row and moves the head in one round trip.
const QString kInsertRowAndMoveHead = QStringLiteral("WITH added AS (") + kInsertRow + QStringLiteral(") ") + kMoveHead;

QString timeText(const QVariant& v);

// The columns entryOf reads, in its order; the time as its text.
QString entryColumns(const db::Database& db)
{
    return QStringLiteral("SELECT Seq_No, %1, User_Name, Origin, Machine_Address, Event_Kind, SapID, Details, "
                          "Chain_Value")
        .arg(db.dialect().dateTimeText(QStringLiteral("Event_Time")));
}

Entry entryOf(const QSqlQuery& q)
{
    Entry e;
    e.seq = q.value(0).toLongLong();
    e.time = timeText(q.value(1));
    e.user = q.value(2).toString();
    e.origin = q.value(3).toString();
    e.machine = q.value(4).toString();
    e.kind = q.value(5).toString();
    e.sapid = q.value(6).toString();
    e.details = q.value(7).toString();
    e.chain = q.value(8).toString();
    return e;
}

QString timeText(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().toString(kTimeFormat);
    return v.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' '));
}

QVariant timeValue(db::Backend backend, const QString& text)
{
    if (backend == db::Backend::Sqlite)
        return text;
    return QDateTime::fromString(text, kTimeFormat);
}

QString hexOf(const unsigned char* bytes, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    QString out(static_cast<qsizetype>(size * 2), Qt::Uninitialized);
    for (size_t i = 0; i < size; ++i) {
        const qsizetype at = static_cast<qsizetype>(i) * 2;
        out[at] = QLatin1Char(digits[bytes[i] >> 4]);
        out[at + 1] = QLatin1Char(digits[bytes[i] & 15]);
    }
    return out;
}

// The canonical content, field by field: each as the decimal length of its
// UTF-8 bytes, a colon and the bytes. `details` is the details text in UTF-8.
template <typename Put>
void putContent(const Entry& e, QByteArrayView details, Put&& put)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, e.seq).ptr;
    put(QByteArrayView(digits, end - digits));
    for (const QString* field : {&e.time, &e.user, &e.origin, &e.machine, &e.kind, &e.sapid})
        put(QByteArrayView(field->toUtf8()));
    put(details);
}

// SHA-256 fed piece by piece: no copy of the content is made.
class ChainHash
{
public:
    explicit ChainHash(const QString& previousChain)
    {
        const QByteArray previous = previousChain.toLatin1();
        add(previous);
        add(QByteArrayView("\n", 1));
    }
    void field(QByteArrayView bytes)
    {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, bytes.size()).ptr;
        *end++ = ':';
        add(QByteArrayView(digits, end - digits));
        add(bytes);
    }
    QString value()
    {
        const auto digest = m_hash.final();
        return hexOf(digest.data(), digest.size());
    }

private:
    void add(QByteArrayView bytes) { m_hash.update(bytes.data(), static_cast<size_t>(bytes.size())); }
    db::Sha256 m_hash;
};

QString chainOf(const QString& previousChain, const Entry& e, QByteArrayView details)
{
    ChainHash hash(previousChain);
    putContent(e, details, [&](QByteArrayView field) { hash.field(field); });
    return hash.value();
}

} // namespace

const std::vector<QString>& allKinds()
{
    static const std::vector<QString> kinds = {QLatin1String(kind::kLogin), QLatin1String(kind::kLoginRefused),
        QLatin1String(kind::kPasswordChanged), QLatin1String(kind::kImportEmployees),
        QLatin1String(kind::kImportHistory), QLatin1String(kind::kCalculationSaved),
        QLatin1String(kind::kCalculationCancelled), QLatin1String(kind::kMemoPrinted),
        QLatin1String(kind::kSettingsChanged), QLatin1String(kind::kReportExported),
        QLatin1String(kind::kLoginThrottled), QLatin1String(kind::kUserAdded), QLatin1String(kind::kUserDisabled),
        QLatin1String(kind::kUserEnabled), QLatin1String(kind::kRolesChanged), QLatin1String(kind::kPasswordReset),
        QLatin1String(kind::kUsersUpgraded), QLatin1String(kind::kActionRefused),
        QLatin1String(kind::kCalculationChecked), QLatin1String(kind::kCalculationReturned),
        QLatin1String(kind::kFourEyesChanged), QLatin1String(kind::kDirectChange)};
    return kinds;
}

QString kindTitle(const QString& k)
{
    static const QHash<QString, QString> titles = {
        {QLatin1String(kind::kLogin), QStringLiteral("เข้าสู่ระบบ")},
        {QLatin1String(kind::kLoginRefused), QStringLiteral("เข้าสู่ระบบไม่สำเร็จ")},
        {QLatin1String(kind::kPasswordChanged), QStringLiteral("เปลี่ยนรหัสผ่าน")},
        {QLatin1String(kind::kImportEmployees), QStringLiteral("นำเข้าข้อมูลพนักงาน")},
        {QLatin1String(kind::kImportHistory), QStringLiteral("นำเข้าประวัติการจ้าง")},
        {QLatin1String(kind::kCalculationSaved), QStringLiteral("บันทึกการคำนวณเงินชดเชย")},
        {QLatin1String(kind::kCalculationCancelled), QStringLiteral("ยกเลิกการคำนวณเงินชดเชย")},
        {QLatin1String(kind::kMemoPrinted), QStringLiteral("พิมพ์บันทึกข้อความขออนุมัติ")},
        {QLatin1String(kind::kSettingsChanged), QStringLiteral("แก้ไขข้อมูลหน่วยงาน")},
        {QLatin1String(kind::kReportExported), QStringLiteral("ส่งออกรายงาน")},
        {QLatin1String(kind::kLoginThrottled), QStringLiteral("ระงับการเข้าสู่ระบบชั่วคราว")},
        {QLatin1String(kind::kUserAdded), QStringLiteral("เพิ่มผู้ใช้งานระบบ")},
        {QLatin1String(kind::kUserDisabled), QStringLiteral("ระงับผู้ใช้งานระบบ")},
        {QLatin1String(kind::kUserEnabled), QStringLiteral("เปิดใช้ผู้ใช้งานระบบ")},
        {QLatin1String(kind::kRolesChanged), QStringLiteral("เปลี่ยนบทบาทผู้ใช้งาน")},
        {QLatin1String(kind::kPasswordReset), QStringLiteral("ตั้งรหัสผ่านใหม่ให้ผู้ใช้งาน")},
        {QLatin1String(kind::kUsersUpgraded), QStringLiteral("ให้ทุกบทบาทแก่ผู้ใช้เดิม")},
        {QLatin1String(kind::kActionRefused), QStringLiteral("ปฏิเสธการทำรายการ (ไม่มีสิทธิ์)")},
        {QLatin1String(kind::kCalculationChecked), QStringLiteral("ตรวจสอบการคำนวณเงินชดเชย")},
        {QLatin1String(kind::kCalculationReturned), QStringLiteral("ส่งคืนการคำนวณเงินชดเชย")},
        {QLatin1String(kind::kFourEyesChanged), QStringLiteral("ตั้งค่าการตรวจสอบก่อนพิมพ์บันทึกข้อความ")},
        {QLatin1String(kind::kDirectChange), QStringLiteral("แก้ไขข้อมูลโดยตรงนอกโปรแกรม")},
    };
    return titles.value(k, k);
}

void setActor(const Actor& actor)
{
    QMutexLocker lock(&g_actorLock);
    g_actor = actor;
}

Actor currentActor()
{
    QMutexLocker lock(&g_actorLock);
    Actor a = g_actor;
    if (a.origin.isEmpty())
        a.origin = QLatin1String(kOriginDesktop);
    if (a.machine.isEmpty()) {
        // Asked of the operating system once: a name look-up per row would
        // cost more than the row.
        static const QString address = QString::fromStdString(Local_IP_Address());
        a.machine = address;
    }
    return a;
}

QString operatingSystemUser()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME"); // Windows
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    return name;
}

QString cliMachine(const QString& address, const QString& osUser)
{
    const QString machine = osUser.isEmpty() ? address : address + QStringLiteral(" (") + osUser + QLatin1Char(')');
    return machine.left(60);
}

QString writeFailureMessage(const QString& driverText)
{
    return QStringLiteral("บันทึกประวัติการใช้งาน (audit log) ไม่สำเร็จ รายการนี้จึงไม่ถูกบันทึก: ") + driverText;
}

QByteArray canonicalContent(const Entry& e)
{
    const QByteArray details = e.details.toUtf8();
    QByteArray out;
    out.reserve(128 + details.size());
    putContent(e, details, [&](QByteArrayView field) {
        out += QByteArray::number(field.size());
        out += ':';
        out += field;
    });
    return out;
}

QString chainValue(const QString& previousChain, const Entry& entry)
{
    return chainOf(previousChain, entry, entry.details.toUtf8());
}

bool recordJson(const db::Database& db, const QString& eventKind, const QString& sapid, const QByteArray& detailsJson,
    QString* error, const Actor* actor)
{
    auto fail = [&](const QString& driverMessage) {
        if (error)
            *error = writeFailureMessage(driverMessage);
        return false;
    };
    // The statements are prepared once per connection: a save pays only for
    // running them.
    // `details` (the place of the details among the values, or -1) is bound
    // as the UTF-8 it already is.
    auto run = [&](const QString& sql, const QVariantList& values, int details = -1) -> db::Prepared* {
        QString why;
        db::Prepared* q = db.preparedOnce(sql, &why);
        if (!q) {
            fail(why);
            return nullptr;
        }
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i == details)
                q->bindUtf8(static_cast<int>(i), detailsJson);
            else
                q->bind(static_cast<int>(i), values.at(i));
        }
        if (!q->run(&why)) {
            fail(why.trimmed());
            return nullptr;
        }
        return q;
    };
    const Actor who = actor ? *actor : currentActor();
    const QString origin = who.origin.isEmpty() ? QLatin1String(kOriginDesktop) : who.origin;
    if (db.serverRoles()) {
        // kind, SAP ID, details, origin, machine
        db::Prepared* q = run(QStringLiteral("SELECT velmora_audit_append(?, ?, ?, ?, ?)"),
            {eventKind, sapid, QVariant(), origin, who.machine}, 2);
        if (!q)
            return false;
        q->finish();
        return true;
    }
    db::Prepared* head = run(headSelect(db.backend()), {});
    if (!head)
        return false;
    if (!head->next()) {
        head->finish();
        return fail(QStringLiteral("ตาราง EP_Audit_Head ไม่มีแถวลำดับล่าสุด"));
    }
    Entry e;
    e.seq = head->value(0).toLongLong() + 1;
    const QString previous = head->value(1).toString();
    e.time = timeText(head->value(2));
    head->finish();
    e.user = who.user;
    e.origin = origin;
    e.machine = who.machine;
    e.kind = eventKind;
    e.sapid = sapid;
    e.chain = chainOf(previous, e, detailsJson);

    QVariantList row {e.seq, timeValue(db.backend(), e.time), e.user, e.origin, e.machine, e.kind, e.sapid,
        QVariant(), e.chain};
    constexpr int kDetails = 7;
    if (db.backend() == db::Backend::Postgres)
        return run(kInsertRowAndMoveHead, row << e.seq << e.chain, kDetails) != nullptr;
    return run(kInsertRow, row, kDetails) && run(kMoveHead, {e.seq, e.chain});
}

bool record(const db::Database& db, const QString& eventKind, const QString& sapid, const QJsonObject& details,
    QString* error, const Actor* actor)
{
    return recordJson(db, eventKind, sapid, QJsonDocument(details).toJson(QJsonDocument::Compact), error, actor);
}

bool recordJson(const db::Database& db, const QString& eventKind, const QString& sapid, const QByteArray& detailsJson,
    std::string* error, const Actor* actor)
{
    QString message;
    if (recordJson(db, eventKind, sapid, detailsJson, &message, actor))
        return true;
    if (error)
        *error = message.toStdString();
    return false;
}

bool record(const db::Database& db, const QString& eventKind, const QString& sapid, const QJsonObject& details,
    std::string* error, const Actor* actor)
{
    return recordJson(db, eventKind, sapid, QJsonDocument(details).toJson(QJsonDocument::Compact), error, actor);
}

bool recordAround(const db::Database& db, const QString& eventKind, const QString& sapid, const QJsonObject& details,
    const std::function<bool(QString*)>& change, QString* error, const Actor* actor)
{
    db::Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = writeFailureMessage(db.connection().lastError().text());
        return false;
    }
    if (!record(db, eventKind, sapid, details, error, actor))
        return false;
    if (!change(error))
        return false;
    QString why;
    if (!tx.commit(&why)) {
        if (error)
            *error = writeFailureMessage(why);
        return false;
    }
    return true;
}

bool listEntries(
    const db::Database& db, const Filter& filter, bool newestFirst, std::vector<Entry>* entries, QString* error)
{
    QString sql = entryColumns(db) + QStringLiteral(" FROM EP_Audit_Log WHERE 1 = 1");
    QVariantList values;
    if (filter.from) {
        sql += QStringLiteral(" AND Event_Time >= ?");
        values << timeValue(db.backend(), QDateTime(*filter.from, QTime(0, 0)).toString(kTimeFormat));
    }
    if (filter.to) {
        sql += QStringLiteral(" AND Event_Time < ?");
        values << timeValue(db.backend(), QDateTime(filter.to->addDays(1), QTime(0, 0)).toString(kTimeFormat));
    }
    if (!filter.user.isEmpty()) {
        sql += QStringLiteral(" AND User_Name = ?");
        values << filter.user;
    }
    if (!filter.kind.isEmpty()) {
        sql += QStringLiteral(" AND Event_Kind = ?");
        values << filter.kind;
    }
    if (!filter.sapid.isEmpty()) {
        sql += QStringLiteral(" AND SapID = ?");
        values << filter.sapid;
    }
    sql += newestFirst ? QStringLiteral(" ORDER BY Seq_No DESC") : QStringLiteral(" ORDER BY Seq_No");
    QSqlQuery q = db.query();
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!db.exec(q, QStringLiteral("อ่านประวัติการใช้งาน"), error))
        return false;
    entries->clear();
    while (q.next())
        entries->push_back(entryOf(q));
    return true;
}

bool chainHead(const db::Database& db, qint64* seq, QString* chain, QString* error)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("SELECT Seq_No, Chain_Value FROM EP_Audit_Head")) || !q.next()) {
        if (error)
            *error = QStringLiteral("อ่านลำดับล่าสุดของประวัติการใช้งานไม่ได้: ") + driverText(q);
        return false;
    }
    *seq = q.value(0).toLongLong();
    *chain = q.value(1).toString();
    return true;
}

namespace {

// The first row at fault.
bool markBroken(VerifyResult* r, qint64 seq, const QString& what)
{
    r->ok = false;
    r->badSeq = seq;
    r->problem = QStringLiteral("ลำดับที่ %1: %2").arg(seq).arg(what);
    return false;
}

// What a walk of the chain ends on: the last row read and its chain value.
struct Walked
{
    qint64 last = 0;
    QString chain;
};

// Walks the rows from the first up to `upTo` (every row when 0) in sequence
// order, each row's chain value computed from the row before. False on the
// first fault (or a database error, badSeq 0) with *r naming it.
bool walkChain(const db::Database& db, qint64 upTo, const std::function<void(const QSqlQuery&)>& eachRow,
    VerifyResult* r, Walked* walked)
{
    QSqlQuery q = db.query();
    q.setForwardOnly(true);
    const QString sql = entryColumns(db) + QStringLiteral(" FROM EP_Audit_Log")
        + (upTo > 0 ? QStringLiteral(" WHERE Seq_No <= ?") : QString()) + QStringLiteral(" ORDER BY Seq_No");
    bool read = q.prepare(sql);
    if (read && upTo > 0)
        q.addBindValue(upTo);
    if (!read || !q.exec()) {
        r->problem = QStringLiteral("อ่านประวัติการใช้งานไม่ได้: ") + driverText(q);
        return false;
    }
    QString previous;
    qint64 expected = 1;
    while (q.next()) {
        if (eachRow)
            eachRow(q);
        const Entry e = entryOf(q);
        ++r->count;
        if (e.seq < expected)
            return markBroken(r, e.seq, QStringLiteral("ถูกแทรกผิดลำดับ"));
        if (e.seq > expected)
            return markBroken(r, expected, QStringLiteral("หายไป (ถูกลบ)"));
        const QString computed = chainValue(previous, e);
        if (computed != e.chain)
            return markBroken(r, e.seq, QStringLiteral("ข้อมูลไม่ตรงกับค่าห่วงโซ่ (ถูกแก้ไข สลับ หรือแทรก)"));
        previous = e.chain;
        ++expected;
    }
    walked->last = expected - 1;
    walked->chain = previous;
    return true;
}

} // namespace

VerifyResult verifyAuditLog(const db::Database& db, const std::function<void(const QSqlQuery&)>& eachRow)
{
    VerifyResult r;
    qint64 headSeq = 0;
    QString headChain;
    if (!chainHead(db, &headSeq, &headChain, &r.problem))
        return r;
    Walked walked;
    if (!walkChain(db, 0, eachRow, &r, &walked))
        return r;
    const qint64 last = walked.last;
    if (headSeq > last)
        markBroken(&r, last + 1, QStringLiteral("หายไป (ถูกลบ)"));
    else if (headSeq < last)
        markBroken(&r, headSeq + 1, QStringLiteral("ถูกแทรกต่อท้ายนอกห่วงโซ่"));
    else if (headChain != walked.chain) // the last rows went and the head was set back by hand
        markBroken(&r, last + 1, QStringLiteral("หายไป (ค่าห่วงโซ่ล่าสุดที่บันทึกไว้ไม่ตรงกับลำดับที่ %1)").arg(last));
    else
        r.ok = true;
    return r;
}

bool printedValueNow(const db::Database& db, PrintedValue* value, QString* error)
{
    QString chain;
    if (!chainHead(db, &value->seq, &chain, error))
        return false;
    value->hex = chain.left(kPrintedDigits).toLower();
    return true;
}

QString printedText(const PrintedValue& value)
{
    return QStringLiteral("%1:%2").arg(value.seq).arg(value.hex);
}

std::optional<PrintedValue> parsePrintedValue(const QString& text, QString* why)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,18}):([0-9A-Fa-f]+)$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    auto refuse = [&](const QString& reason) -> std::optional<PrintedValue> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (!m.hasMatch())
        return refuse(QStringLiteral("SEQ:HEX is wanted (the row number and the hexadecimal digits printed on the "
                                     "document, e.g. 12:%1), not \"%2\"")
                          .arg(QString(kPrintedDigits, QLatin1Char('0')), text));
    PrintedValue v;
    v.seq = m.captured(1).toLongLong();
    v.hex = m.captured(2).toLower();
    if (v.seq < 1)
        return refuse(QStringLiteral("SEQ must be a row number from 1, not %1").arg(m.captured(1)));
    if (v.hex.size() < kPrintedDigits || v.hex.size() > 64)
        return refuse(QStringLiteral("HEX must have %1 to 64 hexadecimal digits, not %2")
                          .arg(kPrintedDigits)
                          .arg(v.hex.size()));
    return v;
}

VerifyResult verifyPrintedValue(const db::Database& db, const PrintedValue& value)
{
    VerifyResult r;
    Walked walked;
    if (!walkChain(db, value.seq, {}, &r, &walked))
        return r;
    if (walked.last < value.seq)
        markBroken(&r, value.seq, QStringLiteral("ไม่มีในประวัติการใช้งาน (ถูกลบ หรือไม่ใช่ฐานข้อมูลที่พิมพ์เอกสาร)"));
    else if (!walked.chain.startsWith(value.hex))
        markBroken(&r, value.seq,
            QStringLiteral("ค่าห่วงโซ่ในประวัติการใช้งาน %1 ไม่ตรงกับค่าที่พิมพ์บนเอกสาร %2 "
                           "(ประวัติถูกเขียนใหม่หลังพิมพ์)")
                .arg(walked.chain.left(value.hex.size()), value.hex));
    else
        r.ok = true;
    return r;
}

} // namespace velmora::audit
