// The fund-source search: one line per employment period of every saved
// calculation with its share of the net, and the total row. The marks, the
// selection and the printed-memo marks are in FundSourceSelection.cpp.

#include "services/FundSource.h"

#include "rules/FundSourceRules.h"

#include "db/Database.h"
#include "db/Prepared.h"
#include "db/Statement.h"
#include "rules/AmountText.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"
#include "services/CalculationChecks.h"
#include "services/OfficeSettings.h"
#include "services/Rights.h"

#include <QRegularExpression>
#include <QVariant>

#include <charconv>

namespace velmora::reports {

namespace {

QString amountText(double value)
{
    return QString::fromStdString(Amount_Text(value));
}

QString text(const db::Prepared& q, int i)
{
    const QVariant v = q.value(i);
    return v.isNull() ? QString() : v.toString();
}

// A text column as UTF-8 for the rules, which take std::string_view.
QByteArray utf8(const db::Prepared& q, int i)
{
    return q.utf8(i);
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

// A whole-number column as text (PostgreSQL may give numeric as a double).
QString wholeText(const db::Prepared& q, int i)
{
    const QVariant v = q.value(i);
    if (v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QString::fromStdString(Shortest_Number_Text(v.toDouble()));
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
        // the decimal digits toString() gives, without its trip through QLocale
        char digits[24];
        const auto done = std::to_chars(digits, digits + sizeof digits, v.toLongLong());
        return QString::fromLatin1(digits, done.ptr - digits);
    }
    return v.toString();
}

// The save date of a calculation (Buddhist-era dd/mm/yyyy) as yyyymmdd text.
QString dateKeyExpression(const db::Dialect& d, const QString& column)
{
    return d.concat({d.substring(column, 7, 4), d.substring(column, 4, 2), d.substring(column, 1, 2)});
}

enum QueryColumn {
    qSapID,
    qSurname,
    qFName,
    qLName,
    qNet,
    qFact,
    qKv,
    qDateEntry,
    qDepart,
    qEventOut,
    qYear,
    qMonth,
    qDay,
    qLastSalary,
    qNT,
    qCode,
    qBegin,
    qEnd,
    qWorkType,
    qCheck // the check's state, then who checked
};

QString fromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

QStringList fundSourceTitles()
{
    return {QStringLiteral("No. "), QStringLiteral("Mark"), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล"),
        QStringLiteral("จำนวนเงินชดเชยที่ได้รับ"), QStringLiteral("วันที่บันทึก"), QStringLiteral("หน่วยงาน"),
        QStringLiteral("สาเหตุการออก"), QStringLiteral("แหล่งเงิน(ปรเภทการจ้าง)"), QStringLiteral("อายุงาน(ปี)"),
        QStringLiteral("อายุงาน(เดือน)"), QStringLiteral("อายุงาน(วัน)"), QStringLiteral("วันบรรจุ"),
        QStringLiteral("วันสิ้นสุดสัญญา"), QStringLiteral("เงินเดือนสุดท้าย"), QStringLiteral("จำนวนเท่า"),
        QStringLiteral("สถานะการตรวจสอบ"), QStringLiteral("ผู้ตรวจสอบ")};
}

QList<int> fundSourceWidths()
{
    return {50, 50, 120, 240, 100, 80, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 110, 90};
}

QString grandTotalCaption()
{
    return QStringLiteral("ยอดรวมทั้งสิ้น");
}

QString markText()
{
    return QStringLiteral("X");
}

QString checkSaveDate(const QString& date)
{
    return fromStd(Check_Save_Date(date.toStdString()));
}

QString saveDateKey(const QString& date)
{
    return fromStd(Save_Date_Key(date.toStdString()));
}

FundSourceRun runFundSource(const db::Database& db, const FundSourceCriteria& criteria, FundSourceRows& rows)
{
    FundSourceRun r;
    for (const QString& date : {criteria.from, criteria.to}) {
        r.error = checkSaveDate(date);
        if (!r.error.isEmpty())
            return r;
    }
    if (!rights::allowed(db, rights::Action::Report, &r.error))
        return r;
    bool fourEyes = true;
    if (!office::fourEyesRequired(db, &fourEyes, &r.error))
        return r;
    const db::Dialect& d = db.dialect();
    const QString key = dateKeyExpression(d, QStringLiteral("c.Date_Entry"));
    QString sql = QStringLiteral(
        "SELECT c.SapID, c.Emp_Surname, c.Emp_F_Name, c.Emp_L_Name, c.Net_Money_Recieve, c.Fact_Month_Weigth, "
        "c.Kv_Month_Weight, c.Date_Entry, c.Depart_Name, c.Event_Out, c.No_Year, c.No_Month, c.No_Day, "
        "c.Last_Salary, c.N_T, dt.Work_Type_Code, dt.Date_B_cal, dt.Date_E_Cal, t.Work_Type, "
        "k.Check_State, k.Checked_By "
        "FROM ((EP_mRec_Money_Detail dt LEFT JOIN EP_TR_Work_Type t ON dt.Work_Type_Code = t.Work_Type_Code) "
        "INNER JOIN EP_mRec_Money_Chodchoy c ON dt.SapID = c.SapID) "
        "LEFT JOIN EP_Calc_Check k ON k.SapID = c.SapID "
        "WHERE (%1 >= ?) AND (%1 <= ?)")
                      .arg(key);
    QVariantList values {saveDateKey(criteria.from), saveDateKey(criteria.to)};
    if (criteria.sourceCode) {
        sql += QStringLiteral(" AND (dt.Work_Type_Code = ?)");
        values << *criteria.sourceCode;
    }
    if (criteria.unprintedOnly)
        sql += QStringLiteral(" AND ((c.Is_Print_doc <> 'Y') OR (c.Is_Print_doc IS NULL))");
    if (criteria.department) {
        sql += QStringLiteral(" AND (c.Depart_Name = ?)");
        values << fromStd(Trim_Spaces(criteria.department->toStdString()));
    }
    // First names, then the SAP ID and the period's start (year, month, day of
    // the Buddhist-era text) so that the order is the same on every server.
    // First names in Thai dictionary order.
    sql +=
        QStringLiteral(" ORDER BY CASE WHEN c.Emp_F_Name IS NULL THEN 0 ELSE 1 END, %4, c.SapID, "
                       "%1, %2, %3")
            .arg(d.substring(QStringLiteral("dt.Date_B_cal"), 7, 4), d.substring(QStringLiteral("dt.Date_B_cal"), 4, 2),
                d.substring(QStringLiteral("dt.Date_B_cal"), 1, 2), d.thaiOrder(QStringLiteral("c.Emp_F_Name")));

    const QString purpose = QStringLiteral("การค้นหาเงินชดเชยแยกแหล่งเงิน");
    db::Prepared q;
    QString why;
    if (!q.prepare(db, sql, &why)) {
        r.error = purpose + QStringLiteral(": ") + why;
        return r;
    }
    q.bindAll(values);
    if (!q.exec(purpose, &r.error))
        return r;
    r.ok = true;
    const QStringList titles = fundSourceTitles();
    rows.titles(titles);
    // A share is due once for each calculation and side. The order above
    // (first name, then SAP ID) keeps the lines of one calculation together,
    // and a SAP ID is one calculation, so the sides counted so far need only
    // be known for the calculation at hand.
    Shown_Total total;
    QString calculation;
    bool counted[2] = {false, false}; // unit, university
    QStringList cells(kFundSourceColumns, QString());
    int n = 0;
    while (q.next()) {
        ++n;
        const QString sapId = text(q, qSapID);
        const QByteArray code = utf8(q, qCode);
        const double share =
            Fund_Source_Share(q.value(qNet).toDouble(), q.value(qFact).toDouble(), q.value(qKv).toDouble(), view(code));
        const std::string shown = Amount_Text(share);
        const FundSourceLine line {sapId, Is_University_Fund(view(code))};
        if (n == 1 || sapId != calculation) {
            calculation = sapId;
            counted[0] = counted[1] = false;
        }
        if (!counted[line.university]) {
            counted[line.university] = true;
            total.add(shown);
        }
        cells[fsNo] = QString::number(n);
        cells[fsSapID] = QLatin1Char('\'') + sapId;
        cells[fsName] = fromStd(Full_Name(view(utf8(q, qSurname)), view(utf8(q, qFName)), view(utf8(q, qLName))));
        cells[fsShare] = fromStd(shown);
        cells[fsDateEntry] = QLatin1Char('\'') + text(q, qDateEntry);
        cells[fsDepart] = text(q, qDepart);
        cells[fsEventOut] = text(q, qEventOut);
        cells[fsWorkType] = text(q, qWorkType);
        cells[fsYears] = wholeText(q, qYear);
        cells[fsMonths] = wholeText(q, qMonth);
        cells[fsDays] = wholeText(q, qDay);
        cells[fsBegin] = text(q, qBegin);
        cells[fsEnd] = text(q, qEnd);
        cells[fsLastSalary] = amountText(q.value(qLastSalary).toDouble());
        cells[fsNT] = wholeText(q, qNT);
        checks::CheckRow check;
        check.state = checks::stateOf(text(q, qCheck));
        check.checkedBy = text(q, qCheck + 1);
        cells[fsCheckState] = checks::shownState(check, fourEyes);
        cells[fsCheckedBy] = check.state == checks::State::Checked ? check.checkedBy : QString();
        rows.line(cells, line);
    }
    // A read that fails part of the way is a failed search, not a shorter list.
    const QString failure = q.failure();
    if (!failure.isEmpty()) {
        r.ok = false;
        r.error = purpose + QStringLiteral(": ") + failure;
        return r;
    }
    r.found = n > 0;
    QStringList lastRow(kFundSourceColumns, QString());
    if (r.found) {
        lastRow[fsName] = grandTotalCaption();
        lastRow[fsShare] = fromStd(total.text());
    }
    rows.last(lastRow);
    return r;
}

namespace {

// The rows of the search gathered into the screen's grid.
class GridRows : public FundSourceRows
{
public:
    explicit GridRows(FundSourceResult& result)
        : m_result(result)
    { }
    void titles(const QStringList& titles) override { m_result.grid.titles = titles; }
    void line(const QStringList& cells, const FundSourceLine& line) override
    {
        m_result.grid.rows.append(cells);
        m_result.lines.append(line);
    }
    void last(const QStringList& cells) override { m_result.grid.rows.append(cells); }

private:
    FundSourceResult& m_result;
};

} // namespace

FundSourceResult queryFundSource(const db::Database& db, const FundSourceCriteria& criteria)
{
    FundSourceResult r;
    GridRows rows(r);
    const FundSourceRun run = runFundSource(db, criteria, rows);
    r.ok = run.ok;
    r.error = run.error;
    r.found = run.found;
    return r;
}

} // namespace velmora::reports
