#include "services/AuditView.h"

#include "services/Rights.h"

#include "rules/AmountText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace velmora::audit {

namespace {

QJsonObject detailsOf(const Entry& e)
{
    return QJsonDocument::fromJson(e.details.toUtf8()).object();
}

QString text(const QJsonValue& v)
{
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (d == static_cast<double>(static_cast<qint64>(d)))
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'f', 2);
    }
    if (v.isBool())
        return v.toBool() ? QStringLiteral("ใช่") : QStringLiteral("ไม่ใช่");
    if (v.isNull() || v.isUndefined())
        return QStringLiteral("(ว่าง)");
    return QString::fromUtf8(QJsonDocument(v.isArray() ? QJsonDocument(v.toArray()) : QJsonDocument(v.toObject()))
                                 .toJson(QJsonDocument::Compact));
}

QString money(const QJsonValue& v)
{
    if (v.isDouble())
        return QString::fromStdString(Amount_Text(v.toDouble()));
    return text(v);
}

QString ymd(const QJsonObject& o)
{
    return QStringLiteral("%1 ปี %2 เดือน %3 วัน")
        .arg(o.value(QLatin1String("years")).toVariant().toInt())
        .arg(o.value(QLatin1String("months")).toVariant().toInt())
        .arg(o.value(QLatin1String("days")).toVariant().toInt());
}

// Column names of the stored tables, as an officer knows them.
QString columnTitle(const QString& column)
{
    static const QHash<QString, QString> titles = {
        {QStringLiteral("SSN"), QStringLiteral("เลขประจำตัวประชาชน")},
        {QStringLiteral("Surname"), QStringLiteral("คำนำหน้า")},
        {QStringLiteral("F_Name"), QStringLiteral("ชื่อ")},
        {QStringLiteral("L_Name"), QStringLiteral("นามสกุล")},
        {QStringLiteral("Emp_BirthDay"), QStringLiteral("วันเกิด")},
        {QStringLiteral("Work_Begin_Date_Text"), QStringLiteral("วันที่เริ่มสัญญา")},
        {QStringLiteral("Work_Type_Code"), QStringLiteral("รหัสประเภทการจ้าง")},
        {QStringLiteral("Work_Type"), QStringLiteral("ประเภทการจ้าง")},
        {QStringLiteral("Work_End_Date_Text"), QStringLiteral("วันที่สิ้นสุดสัญญา")},
        {QStringLiteral("Work_E_Date"), QStringLiteral("วันที่สิ้นสุด")},
        {QStringLiteral("Depart_Code"), QStringLiteral("รหัสส่วนงาน")},
        {QStringLiteral("Money_Rate"), QStringLiteral("เงินเดือน")},
        {QStringLiteral("Emp_RecMChod_Status"), QStringLiteral("สถานะ")},
        {QStringLiteral("seal_path"), QStringLiteral("รูปตราสัญลักษณ์")},
        {QStringLiteral("telephone"), QStringLiteral("โทรศัพท์")},
        {QStringLiteral("reference_code"), QStringLiteral("รหัสเลขที่หนังสือ")},
        {QStringLiteral("preparer_name"), QStringLiteral("ผู้จัดทำบันทึก")},
        {QStringLiteral("section_head_name"), QStringLiteral("หัวหน้างานการเงิน")},
    };
    return titles.value(column, column);
}

QStringList countLines(const QJsonObject& counts)
{
    static const QHash<QString, QString> tables = {{QStringLiteral("employees"), QStringLiteral("พนักงาน")},
        {QStringLiteral("reasons"), QStringLiteral("เหตุแห่งการออก")},
        {QStringLiteral("types"), QStringLiteral("ประเภทการจ้าง")},
        {QStringLiteral("departs"), QStringLiteral("ส่วนงาน")},
        {QStringLiteral("periods"), QStringLiteral("ประวัติการจ้าง")}};
    QStringList out;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        const QJsonObject c = it.value().toObject();
        out << QStringLiteral("%1: เพิ่ม %2, แก้ไข %3, ไม่เปลี่ยนแปลง %4, ข้าม %5 รายการ")
                   .arg(tables.value(it.key(), it.key()))
                   .arg(c.value(QLatin1String("inserted")).toInt())
                   .arg(c.value(QLatin1String("updated")).toInt())
                   .arg(c.value(QLatin1String("left_alone")).toInt())
                   .arg(c.value(QLatin1String("skipped")).toInt());
    }
    return out;
}

QStringList changeLines(const QJsonObject& changes, const QString& indent)
{
    QStringList out;
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        const QJsonObject c = it.value().toObject();
        out << indent
                + QStringLiteral("%1: จาก \"%2\" เป็น \"%3\"")
                      .arg(columnTitle(it.key()), text(c.value(QLatin1String("old"))),
                          text(c.value(QLatin1String("new"))));
    }
    return out;
}

QStringList calculationLines(const QJsonObject& d)
{
    const QJsonObject span = d.value(QLatin1String("span")).toObject();
    const QJsonObject service = d.value(QLatin1String("service")).toObject();
    const QJsonObject split = d.value(QLatin1String("split")).toObject();
    const QJsonObject dep = split.value(QLatin1String("department")).toObject();
    const QJsonObject uni = split.value(QLatin1String("university")).toObject();
    QStringList out;
    out << QStringLiteral("ชื่อ: ") + text(d.value(QLatin1String("name")))
        << QStringLiteral("เดือนที่ขอรับ: ") + text(d.value(QLatin1String("request_month")))
        << QStringLiteral("เหตุแห่งการออก: ") + text(d.value(QLatin1String("reason")))
        << QStringLiteral("ช่วงที่คำนวณ: %1 ถึง %2")
               .arg(text(span.value(QLatin1String("start"))), text(span.value(QLatin1String("end"))))
        << QStringLiteral("อายุงานรวม: ") + ymd(service.value(QLatin1String("total")).toObject())
        << QStringLiteral("อัตรา: %1 เท่าของเงินเดือน").arg(text(d.value(QLatin1String("multiplier"))))
        << QStringLiteral("เงินเดือนสุดท้าย: ") + text(d.value(QLatin1String("salary"))) + QStringLiteral(" บาท")
        << QStringLiteral("เงินชดเชย: ") + text(d.value(QLatin1String("compensation"))) + QStringLiteral(" บาท")
        << QStringLiteral("หักที่ได้รับแล้ว: ") + text(d.value(QLatin1String("paid_earlier"))) + QStringLiteral(" บาท")
        << QStringLiteral("สุทธิ: ") + text(d.value(QLatin1String("net"))) + QStringLiteral(" บาท")
        << QStringLiteral("ส่วนงานจ่าย: %1 บาท (%2%)")
               .arg(text(dep.value(QLatin1String("amount"))), text(dep.value(QLatin1String("percent"))))
        << QStringLiteral("มหาวิทยาลัยจ่าย: %1 บาท (%2%)")
               .arg(text(uni.value(QLatin1String("amount"))), text(uni.value(QLatin1String("percent"))));
    return out;
}

QStringList cancelLines(const QJsonObject& d)
{
    QStringList out;
    for (const QJsonValue v : d.value(QLatin1String("summary")).toArray()) {
        const QJsonObject s = v.toObject();
        out << QStringLiteral("ชื่อ: ") + text(s.value(QLatin1String("Emp_Surname")))
                + text(s.value(QLatin1String("Emp_F_Name"))) + QLatin1Char(' ')
                + text(s.value(QLatin1String("Emp_L_Name")))
            << QStringLiteral("เดือนที่ขอรับ: ") + text(s.value(QLatin1String("MMYYYY_Recieve")))
            << QStringLiteral("ช่วงที่คำนวณ: %1 ถึง %2")
                   .arg(text(s.value(QLatin1String("Date_Beg_Cal"))), text(s.value(QLatin1String("Date_End_Cal"))))
            << QStringLiteral("จำนวนวัน: ") + text(s.value(QLatin1String("Total_Day")))
            << QStringLiteral("อัตรา: %1 เท่า").arg(text(s.value(QLatin1String("N_T"))))
            << QStringLiteral("เงินเดือนสุดท้าย: ") + money(s.value(QLatin1String("Last_Salary"))) + QStringLiteral(" บาท")
            << QStringLiteral("หักที่ได้รับแล้ว: ") + money(s.value(QLatin1String("His_Rec_Money"))) + QStringLiteral(" บาท")
            << QStringLiteral("สุทธิ: ") + money(s.value(QLatin1String("Net_Money_Recieve"))) + QStringLiteral(" บาท")
            << QStringLiteral("บันทึกเมื่อ: ") + text(s.value(QLatin1String("Date_Entry")));
    }
    const QJsonArray details = d.value(QLatin1String("details")).toArray();
    out << QStringLiteral("ช่วงการทำงานที่ลบ %1 ช่วง:").arg(details.size());
    for (const QJsonValue v : details) {
        const QJsonObject p = v.toObject();
        out << QStringLiteral("  ประเภท %1: %2 ถึง %3, %4 วัน, %5 เดือน")
                   .arg(text(p.value(QLatin1String("Work_Type_Code"))), text(p.value(QLatin1String("Date_B_cal"))),
                       text(p.value(QLatin1String("Date_E_Cal"))), text(p.value(QLatin1String("Sum_Day"))),
                       text(p.value(QLatin1String("Sum_Month_Weight"))));
    }
    const QJsonArray earlier = d.value(QLatin1String("earlier")).toArray();
    out << QStringLiteral("ประวัติการได้รับเงินชดเชยที่ลบ %1 รายการ").arg(earlier.size());
    for (const QJsonValue v : earlier) {
        const QJsonObject e = v.toObject();
        out << QStringLiteral("  SAP ID %1 เดือน %2: สุทธิ %3 บาท")
                   .arg(text(e.value(QLatin1String("SapID"))), text(e.value(QLatin1String("MMYYYY_Recieve"))),
                       money(e.value(QLatin1String("Net_Money_Recieve"))));
    }
    if (d.value(QLatin1String("history_removed")).toBool()) {
        const QJsonArray periods = d.value(QLatin1String("removed_periods")).toArray();
        out << QStringLiteral("ลบประวัติการทำงานด้วย %1 ช่วง:").arg(periods.size());
        for (const QJsonValue v : periods) {
            const QJsonObject p = v.toObject();
            out << QStringLiteral("  %1 (%2): %3 ถึง %4")
                       .arg(text(p.value(QLatin1String("Work_Type"))), text(p.value(QLatin1String("Work_Type_Code"))),
                           text(p.value(QLatin1String("Work_B_Date"))), text(p.value(QLatin1String("Work_E_Date"))));
        }
    } else {
        out << QStringLiteral("ไม่ได้ลบประวัติการทำงาน");
    }
    return out;
}

QStringList detailLines(const Entry& e)
{
    const QJsonObject d = detailsOf(e);
    QStringList out;
    if (e.kind == QLatin1String(kind::kLogin) || e.kind == QLatin1String(kind::kPasswordChanged)) {
        out << QStringLiteral("ชื่อผู้ใช้: ") + text(d.value(QLatin1String("user_name")));
    } else if (e.kind == QLatin1String(kind::kLoginRefused)) {
        static const QHash<QString, QString> reasons = {
            {QStringLiteral("no-such-user"), QStringLiteral("ไม่พบชื่อผู้ใช้ในระบบ")},
            {QStringLiteral("wrong-password"), QStringLiteral("รหัสผ่านไม่ถูกต้อง")},
            {QStringLiteral("disabled"), QStringLiteral("ผู้ใช้ถูกระงับการใช้งาน")},
            {QStringLiteral("throttled"), QStringLiteral("ชื่อผู้ใช้ถูกระงับการเข้าสู่ระบบชั่วคราว (ใส่รหัสผ่านผิดหลายครั้ง)")}};
        const QString reason = d.value(QLatin1String("reason")).toString();
        out << QStringLiteral("ชื่อผู้ใช้ที่พิมพ์: ") + text(d.value(QLatin1String("user_name")))
            << QStringLiteral("สาเหตุ: ") + reasons.value(reason, reason);
    } else if (e.kind == QLatin1String(kind::kImportEmployees) || e.kind == QLatin1String(kind::kImportHistory)) {
        out << QStringLiteral("ไฟล์: ") + text(d.value(QLatin1String("file")))
            << QStringLiteral("SHA-256 ของไฟล์: ") + text(d.value(QLatin1String("sha256")));
        out << countLines(d.value(QLatin1String("counts")).toObject());
        const QJsonArray changed = d.value(QLatin1String("changed")).toArray();
        out << QStringLiteral("ข้อมูลที่เปลี่ยน %1 รายการ:").arg(changed.size());
        for (const QJsonValue v : changed) {
            const QJsonObject row = v.toObject();
            QString head = QStringLiteral("  SAP ID ") + text(row.value(QLatin1String("sapid")));
            const QJsonObject key = row.value(QLatin1String("key")).toObject();
            if (!key.isEmpty())
                head += QStringLiteral(" ประเภท %1 เริ่ม %2")
                            .arg(text(key.value(QLatin1String("Work_Type_Code"))),
                                text(key.value(QLatin1String("Work_B_Date"))));
            out << head;
            out << changeLines(row.value(QLatin1String("changes")).toObject(), QStringLiteral("    "));
        }
    } else if (e.kind == QLatin1String(kind::kCalculationSaved)) {
        out << calculationLines(d);
    } else if (e.kind == QLatin1String(kind::kCalculationCancelled)) {
        out << cancelLines(d);
    } else if (e.kind == QLatin1String(kind::kMemoPrinted)) {
        QStringList ids;
        for (const QJsonValue v : d.value(QLatin1String("sapids")).toArray())
            ids << v.toString();
        out << QStringLiteral("SAP ID ที่ทำเครื่องหมายพิมพ์แล้ว: ") + ids.join(QStringLiteral(", "))
            << QStringLiteral("จำนวนเงินรวม: ") + text(d.value(QLatin1String("amount"))) + QStringLiteral(" บาท")
            << QStringLiteral("หน่วยงาน: ") + text(d.value(QLatin1String("department")))
            << QStringLiteral("เสนอผ่าน: ")
                + (d.value(QLatin1String("routing")).toString() == QLatin1String("faculty")
                        ? QStringLiteral("คณะ")
                        : QStringLiteral("งานเงินเดือน"));
    } else if (e.kind == QLatin1String(kind::kSettingsChanged)) {
        const QJsonObject changes = d.value(QLatin1String("changes")).toObject();
        out << (changes.isEmpty() ? QStringList {QStringLiteral("ไม่มีค่าที่เปลี่ยน")} : changeLines(changes, QString()));
    } else if (e.kind == QLatin1String(kind::kReportExported)) {
        out << QStringLiteral("รายงาน: ") + text(d.value(QLatin1String("report")))
            << QStringLiteral("ไฟล์: ") + text(d.value(QLatin1String("file")))
            << QStringLiteral("จำนวนแถว: ") + text(d.value(QLatin1String("rows")));
        const QJsonObject filters = d.value(QLatin1String("filters")).toObject();
        if (filters.contains(QLatin1String("arguments"))) {
            QStringList args;
            for (const QJsonValue v : filters.value(QLatin1String("arguments")).toArray())
                args << v.toString();
            out << QStringLiteral("เงื่อนไข: ") + args.join(QLatin1Char(' '));
        } else if (filters.contains(QLatin1String("screen"))) {
            out << QStringLiteral("จากหน้าจอ: ") + text(filters.value(QLatin1String("screen")));
        }
    } else {
        for (auto it = d.constBegin(); it != d.constEnd(); ++it)
            out << it.key() + QStringLiteral(": ") + text(it.value());
    }
    return out;
}

QString summaryOf(const Entry& e)
{
    const QJsonObject d = detailsOf(e);
    if (e.kind == QLatin1String(kind::kCalculationSaved))
        return QStringLiteral("สุทธิ ") + text(d.value(QLatin1String("net"))) + QStringLiteral(" บาท");
    if (e.kind == QLatin1String(kind::kCalculationCancelled)) {
        const QJsonObject s = d.value(QLatin1String("summary")).toArray().at(0).toObject();
        return QStringLiteral("ยกเลิกรายการสุทธิ ") + money(s.value(QLatin1String("Net_Money_Recieve")))
            + QStringLiteral(" บาท");
    }
    const QStringList lines = detailLines(e);
    return lines.isEmpty() ? QString() : lines.first();
}

} // namespace

bool listAuditTrail(
    const db::Database& db, const Filter& filter, bool newestFirst, std::vector<Entry>* entries, QString* error)
{
    return rights::allowed(db, rights::Action::ReadAuditTrail, error)
        && listEntries(db, filter, newestFirst, entries, error);
}

VerifyResult verifyAuditTrail(const db::Database& db)
{
    VerifyResult r;
    if (!rights::allowed(db, rights::Action::VerifyAuditTrail, &r.problem))
        return r;
    return verifyAuditLog(db);
}

VerifyResult verifyPrintedTrail(const db::Database& db, const PrintedValue& value)
{
    VerifyResult r;
    if (!rights::allowed(db, rights::Action::VerifyAuditTrail, &r.problem))
        return r;
    return verifyPrintedValue(db, value);
}

std::optional<QDate> parseFilterDate(const QString& t)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch m = pattern.match(t.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(3).toInt();
    if (year >= 2400)
        year -= 543;
    const QDate d(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QJsonObject entryJson(const Entry& e)
{
    return QJsonObject {{QStringLiteral("seq"), e.seq}, {QStringLiteral("time"), e.time},
        {QStringLiteral("user"), e.user}, {QStringLiteral("origin"), e.origin}, {QStringLiteral("machine"), e.machine},
        {QStringLiteral("kind"), e.kind}, {QStringLiteral("sapid"), e.sapid}, {QStringLiteral("details"), detailsOf(e)},
        {QStringLiteral("chain"), e.chain}};
}

reports::ReportGrid entryGrid(const std::vector<Entry>& entries)
{
    reports::ReportGrid g;
    g.titles = {QStringLiteral("seq"), QStringLiteral("time"), QStringLiteral("user"), QStringLiteral("origin"),
        QStringLiteral("machine"), QStringLiteral("kind"), QStringLiteral("sapid"), QStringLiteral("details"),
        QStringLiteral("chain")};
    for (const Entry& e : entries)
        g.rows << QStringList {
            QString::number(e.seq), e.time, e.user, e.origin, e.machine, e.kind, e.sapid, e.details, e.chain};
    return g;
}

reports::ReportGrid viewerGrid(const std::vector<Entry>& entries)
{
    reports::ReportGrid g;
    g.titles = {QStringLiteral("ลำดับ"), QStringLiteral("วันที่เวลา"), QStringLiteral("ผู้ใช้"), QStringLiteral("ที่มา"),
        QStringLiteral("เครื่อง"), QStringLiteral("เหตุการณ์"), QStringLiteral("SAP ID"), QStringLiteral("สรุป")};
    for (const Entry& e : entries) {
        const QDateTime t = QDateTime::fromString(e.time, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString when = t.isValid() ? t.toString(QStringLiteral("dd/MM/")) + QString::number(t.date().year() + 543)
                + t.toString(QStringLiteral(" HH:mm:ss"))
                                         : e.time;
        g.rows << QStringList {QString::number(e.seq), when, e.user, e.origin, e.machine, kindTitle(e.kind),
            e.sapid.isEmpty() ? QString() : QLatin1Char('\'') + e.sapid, summaryOf(e)};
    }
    return g;
}

QString readableDetails(const Entry& e)
{
    QStringList lines;
    lines << QStringLiteral("ลำดับที่ %1: %2").arg(e.seq).arg(kindTitle(e.kind))
          << QStringLiteral("เวลา (ของเครื่องแม่ข่าย): ") + e.time
          << QStringLiteral("ผู้ใช้: %1 (%2) เครื่อง %3")
                 .arg(e.user, e.origin, e.machine.isEmpty() ? QStringLiteral("-") : e.machine);
    if (!e.sapid.isEmpty())
        lines << QStringLiteral("SAP ID: ") + e.sapid;
    lines << QString();
    lines << detailLines(e);
    return lines.join(QLatin1Char('\n'));
}

} // namespace velmora::audit
