#include "services/ReportQueries.h"

#include "rules/ForecastRules.h"

#include "db/Database.h"
#include "db/Statement.h"
#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/Rights.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace velmora::reports {

namespace {

QString fromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

// Blanks and control characters removed from both ends.
QString trimControls(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 0x20)
        --e;
    return text.mid(b, e - b);
}

// Blanks only, as the officers' Trim_Spaces does.
QString trimBlanks(const QString& text)
{
    return fromStd(Trim_Spaces(text.toStdString()));
}

// A date-time column as the driver gives it (a date-time, or ISO text on SQLite).
std::optional<QDateTime> dateTimeOf(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    QDateTime dt;
    if (v.metaType().id() == QMetaType::QDateTime)
        dt = v.toDateTime();
    else if (v.metaType().id() == QMetaType::QDate)
        dt = QDateTime(v.toDate(), QTime(0, 0));
    else {
        const QString s = v.toString().trimmed();
        dt = QDateTime::fromString(s, Qt::ISODateWithMs);
        if (!dt.isValid())
            dt = QDateTime::fromString(s, Qt::ISODate);
        if (!dt.isValid())
            dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid())
            dt = QDateTime(QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    }
    if (!dt.isValid())
        return std::nullopt;
    return dt;
}

QString dateText(const std::optional<QDateTime>& dt)
{
    return dt ? dt->date().toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// The date of a date-time column as dd/mm/yyyy. SQLite gives ISO text whose
// first ten characters are the date: read directly, without a local-time
// QDateTime per row (each costs a look at the time-zone file); anything else
// as dateTimeOf reads it.
QString dateTextOf(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString();
        if (s.size() >= 10 && s.at(4) == QLatin1Char('-') && s.at(7) == QLatin1Char('-')) {
            bool okYear = false, okMonth = false, okDay = false;
            const QDate d(s.mid(0, 4).toInt(&okYear), s.mid(5, 2).toInt(&okMonth), s.mid(8, 2).toInt(&okDay));
            if (okYear && okMonth && okDay && d.isValid())
                return s.mid(8, 2) + QLatin1Char('/') + s.mid(5, 2) + QLatin1Char('/') + s.mid(0, 4);
        }
    }
    return dateText(dateTimeOf(v));
}

// Whole days between two date-times, absolute, fraction dropped; calendar
// arithmetic without the time zone, so a change to summer time costs no day.
QString daysBetween(const std::optional<QDateTime>& a, const std::optional<QDateTime>& b)
{
    if (!a || !b)
        return {};
    const QDateTime ua(a->date(), a->time(), Qt::UTC);
    const QDateTime ub(b->date(), b->time(), Qt::UTC);
    return QString::number(qAbs(ua.msecsTo(ub)) / (24LL * 60 * 60 * 1000));
}

QString text(const QSqlQuery& q, int i)
{
    const QVariant v = q.value(i);
    return v.isNull() ? QString() : v.toString();
}

QString fullName(const QSqlQuery& q, int title, int first, int last)
{
    return QString::fromStdString(
        Full_Name(text(q, title).toStdString(), text(q, first).toStdString(), text(q, last).toStdString()));
}

QString amount(double value)
{
    return fromStd(Amount_Text(value));
}

QString withApostrophe(const QString& s)
{
    return s.isEmpty() ? s : QLatin1Char('\'') + s;
}

ReportResult failure(const QString& message)
{
    ReportResult r;
    r.error = message;
    return r;
}

// Employees with their type and department names, as the contract-end report
// and the forecast list them: unmatched type or department first.
QString employeeSelect()
{
    return QStringLiteral("SELECT m.SapID, m.Surname, m.F_Name, m.L_Name, m.Work_Begin_Date, m.Work_End_Date, "
                          "d.Dapart_Name, t.Work_Type, m.Emp_BirthDay, m.Money_Rate, m.Depart_Code, m.Work_Type_Code "
                          "FROM (EP_Emp_Main m LEFT JOIN EP_TR_Work_Type t ON m.Work_Type_Code = t.Work_Type_Code) "
                          "LEFT JOIN EP_TR_Depart d ON m.Depart_Code = d.Depart_Code "
                          "WHERE (m.SapID IS NOT NULL) ");
}
enum EmployeeColumn {
    eSapID,
    eSurname,
    eFName,
    eLName,
    eBegin,
    eEnd,
    eDepartName,
    eWorkType,
    eBirth,
    eRate,
    eDepartCode,
    eTypeCode
};

// Department, type and first name in Thai dictionary order.
QString employeeOrder(const db::Dialect& d)
{
    return QStringLiteral(" ORDER BY CASE WHEN d.Dapart_Name IS NULL THEN 0 ELSE 1 END, %1, "
                          "CASE WHEN t.Work_Type IS NULL THEN 0 ELSE 1 END, %2, "
                          "CASE WHEN m.F_Name IS NULL THEN 0 ELSE 1 END, %3, m.SapID")
        .arg(d.thaiOrder(QStringLiteral("d.Dapart_Name")), d.thaiOrder(QStringLiteral("t.Work_Type")),
            d.thaiOrder(QStringLiteral("m.F_Name")));
}

// A report found nothing: its titles over one blank row.
void settle(ReportResult& r)
{
    r.found = !r.grid.rows.isEmpty();
    if (!r.found)
        r.grid = ReportGrid::emptyResult(r.grid.titles);
}

// A report of one search: `titles`, then the grid row `row(q, n)` makes of
// the n-th record found (from 1).
template <typename Row>
ReportResult searchGrid(const db::Database& db, const QString& sql, const QVariantList& values, const QString& purpose,
    const QStringList& titles, Row row)
{
    ReportResult r;
    if (!rights::allowed(db, rights::Action::Report, &r.error))
        return r;
    QSqlQuery q = db.query();
    if (!db::prepareAndRun(db, q, sql, values, purpose, &r.error))
        return r;
    r.ok = true;
    r.grid.titles = titles;
    int n = 0;
    while (q.next())
        r.grid.rows.append(row(q, ++n));
    settle(r);
    return r;
}

} // namespace

QString notFoundMessage()
{
    return QStringLiteral("ไม่พบข้อมูลที่ต้องการ");
}

QString checkPeriodFilter(const PeriodFilter& filter)
{
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}$"));
    static const QRegularExpression month(QStringLiteral("^(0[1-9]|1[0-2])/[0-9]{4}$"));
    if (filter.kind == PeriodFilter::Year && !year.match(filter.year).hasMatch())
        return QStringLiteral("ปีไม่ถูกต้อง: \"%1\" (ต้องเป็นตัวเลข 4 หลัก เช่น 2015)").arg(filter.year);
    if (filter.kind == PeriodFilter::Month && !month.match(filter.monthYear).hasMatch())
        return QStringLiteral("เดือนปีไม่ถูกต้อง: \"%1\" (ต้องเป็น ดด/ปปปป เช่น 06/2015)").arg(filter.monthYear);
    // These years are Christian era: a Buddhist-era year would find nothing.
    const int typed = filter.kind == PeriodFilter::Year ? filter.year.toInt()
        : filter.kind == PeriodFilter::Month            ? filter.monthYear.mid(3).toInt()
                                                        : 0;
    if (typed > kBuddhistEraFloor)
        return QStringLiteral("ปี %1 เป็นปีพุทธศักราช (พ.ศ.) ช่องนี้ใช้ปีคริสต์ศักราช (ค.ศ.) เช่น %2").arg(typed).arg(typed - 543);
    return {};
}

QString forecastYearMessage(const QString& typed)
{
    QString text = QStringLiteral("ปีที่คำนวณไม่ถูกต้อง: \"%1\" (ต้องเป็นปีพุทธศักราช (พ.ศ.) ระหว่าง %2 ถึง %3 เช่น 2569)")
                       .arg(typed)
                       .arg(kForecastYearMin)
                       .arg(kForecastYearMax);
    bool digits = false;
    const int year = typed.trimmed().toInt(&digits);
    if (digits && year >= 1800 && year < kForecastYearMin)
        text += QStringLiteral(" ปี %1 เป็นปีคริสต์ศักราช (ค.ศ.) ตรงกับ พ.ศ. %2").arg(year).arg(year + 543);
    return text;
}

QList<int> reportColumnWidths()
{
    return {50, 80, 140, 100, 100, 80, 120, 100, 100};
}

QStringList contractEndTitles()
{
    return {QStringLiteral("No. "), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล"),
        QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"), QStringLiteral("ประเภทการจ้าง"), QStringLiteral("วันที่สิ้นสุดสัญญา"),
        QStringLiteral("ส่วนงาน(คณะ)"), QString(), QString()};
}

ReportResult queryContractEnd(const db::Database& db, const ContractEndCriteria& criteria)
{
    const QString bad = checkPeriodFilter(criteria.endDate);
    if (!bad.isEmpty())
        return failure(bad);
    const db::Dialect& dialect = db.dialect();
    QString sql = employeeSelect();
    QVariantList values;
    if (criteria.workType) {
        sql += QStringLiteral("AND (t.Work_Type = ?) ");
        values << trimControls(*criteria.workType);
    }
    if (criteria.endDate.kind == PeriodFilter::Year) {
        sql += QStringLiteral("AND (%1 = ?) ").arg(dialect.substring(QStringLiteral("m.Work_End_Date_Text"), 7, 4));
        values << criteria.endDate.year;
    } else if (criteria.endDate.kind == PeriodFilter::Month) {
        sql += QStringLiteral("AND (%1 = ?) ").arg(dialect.substring(QStringLiteral("m.Work_End_Date_Text"), 4, 7));
        values << criteria.endDate.monthYear;
    }
    if (criteria.department) {
        sql += QStringLiteral("AND (d.Dapart_Name = ?) ");
        values << trimControls(*criteria.department);
    }
    sql += employeeOrder(db.dialect());

    return searchGrid(db, sql, values, QStringLiteral("การค้นหารายชื่อผู้ครบสัญญา"), contractEndTitles(),
        [](const QSqlQuery& q, int n) -> QStringList {
            const auto begin = dateTimeOf(q.value(eBegin));
            const auto end = dateTimeOf(q.value(eEnd));
            return {QString::number(n), withApostrophe(text(q, eSapID)), fullName(q, eSurname, eFName, eLName),
                withApostrophe(dateText(begin)), text(q, eWorkType), withApostrophe(dateText(end)),
                text(q, eDepartName), daysBetween(begin, end), QString()};
        });
}

QStringList receivedTitles()
{
    return {QStringLiteral("No. "), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล"),
        QStringLiteral("ส่วนงาน(คณะ)"), QStringLiteral("วันที่คำนวณ"), QStringLiteral("วันที่สิ้นสุดสัญญา"),
        QStringLiteral("วันทั้งหมด"), QStringLiteral("จำนวนปี"), QStringLiteral("จำนวนเดือน"), QStringLiteral("จำนวนวัน"),
        QStringLiteral("เงินเดือนสุดท้าย"), QStringLiteral("จำนวนเท่า"), QStringLiteral("เงินชดเชยที่คำนวณได้"),
        QStringLiteral("เงินชดเชยที่เคยได้รับ"), QStringLiteral("เงินชดเชยสุทธิที่ได้รับ")};
}

ReportResult queryReceived(const db::Database& db, const ReceivedCriteria& criteria)
{
    const QString bad = checkPeriodFilter(criteria.period);
    if (!bad.isEmpty())
        return failure(bad);
    QString sql = QStringLiteral(
        "SELECT SapID, Emp_Surname, Emp_F_Name, Emp_L_Name, Depart_Name, Date_Beg_Cal, Date_End_Cal, Total_Day, "
        "No_Year, No_Month, No_Day, Last_Salary, N_T, His_Rec_Money, Net_Money_Recieve "
        "FROM EP_mRec_Money_Chodchoy WHERE (SapID IS NOT NULL)");
    QVariantList values;
    if (criteria.period.kind == PeriodFilter::Year) {
        sql += QStringLiteral(" AND (%1 = ?)").arg(db.dialect().substring(QStringLiteral("MMYYYY_Recieve"), 4, 4));
        values << criteria.period.year;
    } else if (criteria.period.kind == PeriodFilter::Month) {
        sql += QStringLiteral(" AND (MMYYYY_Recieve = ?)");
        values << criteria.period.monthYear;
    }
    if (criteria.department) {
        sql += QStringLiteral(" AND (Depart_Name = ?)");
        values << *criteria.department; // as typed: a trailing blank matches nothing
    }
    // First names in Thai dictionary order, the same on every server.
    sql += QStringLiteral(" ORDER BY %1, SapID").arg(db.dialect().thaiOrder(QStringLiteral("Emp_F_Name")));

    return searchGrid(db, sql, values, QStringLiteral("การค้นหาเงินชดเชยที่ได้รับ"), receivedTitles(),
        [](const QSqlQuery& q, int n) -> QStringList {
            const double lastSalary = q.value(11).toDouble();
            const qint64 multiple = qRound64(q.value(12).toDouble());
            return {QString::number(n), withApostrophe(text(q, 0)), fullName(q, 1, 2, 3), text(q, 4),
                withApostrophe(text(q, 5)), withApostrophe(text(q, 6)), text(q, 7), text(q, 8), text(q, 9), text(q, 10),
                amount(lastSalary), text(q, 12), amount(double(multiple) * lastSalary), amount(q.value(13).toDouble()),
                amount(q.value(14).toDouble())};
        });
}

QStringList forecastTitles()
{
    return {QStringLiteral("No. "), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล"),
        QStringLiteral("วันเดือนปีเกิด"), QStringLiteral("ปีที่อายุครบ 60 ปี"), QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"),
        QStringLiteral("ปีที่เริ่มคำนวณ(ก่อนปี ปี 2550 ให้ใช้ปี 2550(2007)"), QStringLiteral("อายุงานจากวันที่เริ่มปฎิบัติงานถึงอายุ 60 ปี"),
        QStringLiteral("เงินเดือนปัจจุบัน"), QStringLiteral("จำนวนปีจากปีที่คำนวณถึงอายุ60"), QStringLiteral("เงินเดือนเมื่ออายุ 60"),
        QStringLiteral("จำนวนเท่าของค่าตอบแทน"), QStringLiteral("จำนวนเงินชดเชยที่ได้รับ"), QStringLiteral("อายุ ณ ปีคำนวณ"),
        QStringLiteral("รหัสหน่วยงาน"), QStringLiteral("ชื่อหน่วยงาน"), QStringLiteral("ประเภทบุคคลากร"), QString(),
        QString()};
}

bool loadForecast(
    const db::Database& db, const ForecastCriteria& criteria, std::vector<ForecastEmployee>* rows, QString* error)
{
    int calcYear = 0;
    if (!Parse_Forecast_Year(criteria.calcYear.toStdString(), calcYear)) {
        *error = forecastYearMessage(criteria.calcYear);
        return false;
    }
    QString sql = employeeSelect();
    QVariantList values;
    if (criteria.workType) {
        sql += QStringLiteral("AND (t.Work_Type = ?) ");
        values << trimBlanks(*criteria.workType);
    }
    if (criteria.department) {
        sql += QStringLiteral("AND (d.Dapart_Name = ?) ");
        values << trimBlanks(*criteria.department);
    }
    sql += employeeOrder(db.dialect());

    QSqlQuery q = db.query();
    if (!db::prepareAndRun(db, q, sql, values, QStringLiteral("การค้นหาพนักงานเพื่อประมาณการเงินชดเชย"), error))
        return false;
    rows->clear();
    while (q.next()) {
        ForecastEmployee e;
        e.sapId = text(q, eSapID);
        e.fullName = fullName(q, eSurname, eFName, eLName);
        e.departCode = text(q, eDepartCode);
        e.departName = text(q, eDepartName);
        e.typeCode = text(q, eTypeCode);
        e.workType = text(q, eWorkType);
        e.input.birth_date = text(q, eBirth).toStdString();
        e.input.start_date = dateTextOf(q.value(eBegin)).toStdString();
        e.input.salary = q.value(eRate).toDouble();
        e.input.calc_year = calcYear;
        e.input.yearly_raise = criteria.yearlyRaise;
        e.result = Forecast_Employee(e.input);
        rows->push_back(std::move(e));
    }
    return true;
}

ReportResult queryForecast(const db::Database& db, const ForecastCriteria& criteria)
{
    ReportResult r;
    std::vector<ForecastEmployee> employees;
    if (!rights::allowed(db, rights::Action::Report, &r.error) || !loadForecast(db, criteria, &employees, &r.error))
        return r;
    r.ok = true;
    r.grid.titles = forecastTitles();
    int n = 0;
    for (const ForecastEmployee& e : employees) {
        ++n;
        const Forecast_Result& f = e.result;
        QStringList row(19, QString());
        row[0] = QString::number(n);
        row[1] = withApostrophe(e.sapId);
        row[2] = e.fullName;
        row[8] = amount(e.input.salary);
        row[14] = e.departCode;
        row[15] = e.departName;
        row[16] = e.typeCode;
        if (f.ok()) {
            row[3] = withApostrophe(fromStd(f.birth_date_be));
            row[4] = QString::number(f.year_60);
            row[5] = withApostrophe(fromStd(f.start_date_be));
            row[6] = QString::number(f.count_start);
            row[7] = QString::number(f.service_years);
            row[9] = QString::number(f.years_to_go);
            row[10] = amount(f.salary_at_60);
            row[11] = QString::number(f.multiple);
            row[12] = amount(f.amount);
            row[13] = QString::number(f.age_in_calc_year);
        } else {
            // The dates as they are held, and why the row has no forecast.
            row[3] = withApostrophe(fromStd(e.input.birth_date));
            row[4] = fromStd(f.error);
            row[5] = withApostrophe(fromStd(e.input.start_date));
        }
        r.grid.rows.append(row);
    }
    settle(r);
    return r;
}

namespace {

bool listNames(const db::Database& db, const QString& sql, QStringList* names, QString* error)
{
    QSqlQuery q = db.query();
    QString err;
    if (!db::prepareAndRun(db, q, sql, {}, QStringLiteral("การอ่านรายการ"), &err)) {
        if (error)
            *error = err;
        return false;
    }
    names->clear();
    while (q.next())
        names->append(text(q, 0));
    return true;
}

} // namespace

bool listWorkTypes(const db::Database& db, QStringList* names, QString* error)
{
    return listNames(db,
        QStringLiteral("SELECT Work_Type FROM EP_TR_Work_Type ORDER BY %1")
            .arg(db.dialect().thaiOrder(QStringLiteral("Work_Type"))),
        names, error);
}

bool listDepartments(const db::Database& db, QStringList* names, QString* error)
{
    return listNames(db,
        QStringLiteral("SELECT Dapart_Name FROM EP_TR_Depart ORDER BY %1")
            .arg(db.dialect().thaiOrder(QStringLiteral("Dapart_Name"))),
        names, error);
}

} // namespace velmora::reports
