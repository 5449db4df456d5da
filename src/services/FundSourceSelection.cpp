// The marks the officer sets on the fund-source list, the selection gathered
// from the marked lines, the printed-memo marks of the saved calculations,
// and the export values of the two lists. The search is in FundSource.cpp.

#include "services/FundSource.h"

#include "db/AuditLog.h"
#include "db/Database.h"
#include "rules/AmountText.h"
#include "rules/FundSourceRules.h"
#include "services/Backup.h"
#include "services/CrashReport.h"
#include "services/ReportExports.h"

#include <QJsonArray>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace velmora::reports {

namespace {

QString fromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

// A SAP ID of the selection list without its leading apostrophe.
QString withoutApostrophe(const QString& s)
{
    return s.startsWith(QLatin1Char('\'')) ? s.mid(1) : s;
}

} // namespace

QStringList selectionTitles()
{
    return {QStringLiteral("No. "), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล"),
        QStringLiteral("จำนวนเงินชดเชยที่ได้รับ")};
}

QList<int> selectionWidths()
{
    return {50, 120, 240, 190};
}

bool isMarkable(const ReportGrid& grid, int row)
{
    return row >= 0 && row < grid.rows.size() && grid.rows.at(row).size() > fsSapID
        && !grid.rows.at(row).at(fsSapID).isEmpty();
}

void markAll(ReportGrid& grid)
{
    for (int r = 0; r < grid.rows.size(); ++r)
        if (isMarkable(grid, r))
            grid.rows[r][fsMark] = markText();
}

void releaseAll(ReportGrid& grid)
{
    for (QStringList& row : grid.rows)
        if (row.size() > fsMark)
            row[fsMark].clear();
}

void markLine(ReportGrid& grid, int row)
{
    if (isMarkable(grid, row))
        grid.rows[row][fsMark] = markText();
}

void releaseLine(ReportGrid& grid, int row)
{
    if (row >= 0 && row < grid.rows.size() && grid.rows.at(row).value(fsMark) == markText())
        grid.rows[row][fsMark].clear();
}

void toggleLine(ReportGrid& grid, int row)
{
    if (!isMarkable(grid, row))
        return;
    QString& mark = grid.rows[row][fsMark];
    mark = mark == markText() ? QString() : markText();
}

ReportGrid gatherSelection(const ReportGrid& list, const QList<FundSourceLine>& lines)
{
    ReportGrid s;
    s.titles = selectionTitles();
    Shown_Total total;
    QSet<QPair<QString, bool>> taken;
    int n = 0;
    for (int r = 0; r < list.rows.size() && r < lines.size(); ++r) {
        const QStringList& row = list.rows.at(r);
        if (row.value(fsMark) != markText() || !isMarkable(list, r))
            continue;
        const FundSourceLine& line = lines.at(r);
        if (taken.contains({line.sapId, line.university}))
            continue;
        taken.insert({line.sapId, line.university});
        // the amount as shown, written as amount text again and read back
        const double shown = Parse_Number(row.value(fsShare).toStdString()).value_or(0.0);
        total.add(Amount_Text(shown));
        s.rows.append({QString::number(++n), row.value(fsSapID), row.value(fsName), row.value(fsShare)});
    }
    s.rows.append({QString(), QString(), grandTotalCaption(), fromStd(total.text())});
    return s;
}

int selectedCount(const ReportGrid& selection)
{
    return qMax(0, int(selection.rows.size()) - 1);
}

QStringList selectedSapIds(const ReportGrid& selection)
{
    QStringList ids;
    for (int r = 0; r < selectedCount(selection); ++r)
        ids << withoutApostrophe(selection.rows.at(r).value(1));
    return ids;
}

QString selectionTotal(const ReportGrid& selection)
{
    if (selection.rows.isEmpty())
        return fromStd(Amount_Text(0));
    return selection.rows.last().value(3);
}

bool markMemoPrintedIn(const db::Database& db, const QStringList& sapIds, const QJsonObject& memo, QString* error)
{
    if (sapIds.isEmpty())
        return true;
    QSqlQuery q = db.query();
    if (!q.prepare(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Is_Print_doc = 'Y' WHERE SapID = ?"))) {
        *error = QStringLiteral("การบันทึกการพิมพ์บันทึกข้อความ: ") + q.lastError().text();
        return false;
    }
    for (const QString& sapId : sapIds) {
        q.bindValue(0, sapId);
        if (!db.exec(q, QStringLiteral("การบันทึกการพิมพ์บันทึกข้อความของ SAP ID ") + sapId, error))
            return false;
    }
    QJsonObject details = memo;
    details.insert(QStringLiteral("sapids"), QJsonArray::fromStringList(sapIds));
    return audit::record(
        db, QLatin1String(audit::kind::kMemoPrinted), sapIds.size() == 1 ? sapIds.first() : QString(), details, error);
}

bool markMemoPrinted(const db::Database& db, const QStringList& sapIds, QString* error, const QJsonObject& memo)
{
    if (sapIds.isEmpty())
        return true;
    const crash::ActionInProgress action(QStringLiteral("memo-printed ") + sapIds.join(QLatin1Char(',')));
    if (!backup::backupBeforeAction(db, error))
        return false;
    db::Transaction tx(db);
    if (!tx.active()) {
        *error = QStringLiteral("การบันทึกการพิมพ์บันทึกข้อความ: ") + tx.error();
        return false;
    }
    return markMemoPrintedIn(db, sapIds, memo, error) && tx.commit(error);
}

QString departmentTitle(const std::optional<QString>& department)
{
    return department ? QStringLiteral("หน่วยงาน ") + *department : QStringLiteral("หน่วยงาน ทั้งหมด");
}

namespace {

ExportOptions fundSourceOptions(const QString& secondTitle, const QString& titleRange, const QString& lastColumn)
{
    ExportOptions o = reportSheetExport(QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), titleRange, lastColumn,
        PageTexts::SetB, {4, 13, 40, 30, 25, 13, 28});
    o.secondTitle = secondTitle;
    return o;
}

} // namespace

ExportOptions fundSourceExport(const QString& secondTitle)
{
    ExportOptions o = fundSourceOptions(secondTitle, QStringLiteral("A1:R1"), QStringLiteral("R"));
    o.fileName = QStringLiteral("เงินชดเชยแยกแหล่งเงิน");
    return o;
}

ExportOptions selectionExport(const QString& secondTitle)
{
    ExportOptions o = fundSourceOptions(secondTitle, QStringLiteral("A1:D1"), QStringLiteral("D"));
    o.fileName = QStringLiteral("เงินชดเชยแยกแหล่งเงิน รายการที่เลือก");
    return o;
}

} // namespace velmora::reports
