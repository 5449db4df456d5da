#include "services/ReportExports.h"

#include "db/AuditLog.h"
#include "services/Rights.h"

#include <QFile>
#include <QSqlError>

namespace velmora::reports {

namespace {

ExportOptions employeeReport(const QString& title, const QString& lastStyled, const QString& fileName)
{
    ExportOptions o =
        reportSheetExport(title, QStringLiteral("A1:I1"), lastStyled, PageTexts::SetA, {4, 11, 23, 20, 25, 13, 28});
    o.fileName = fileName;
    return o;
}

} // namespace

ExportOptions reportSheetExport(const QString& title, const QString& titleRange, const QString& lastStyledColumn,
    PageTexts pageTexts, const QList<double>& widths)
{
    ExportOptions o;
    o.sheetName = QStringLiteral("Emp Pro");
    o.titleRange = titleRange;
    o.title = title;
    o.lastStyledColumn = lastStyledColumn;
    o.pageTexts = pageTexts;
    o.widths = widths;
    return o;
}

ExportOptions contractEndExport()
{
    return employeeReport(QStringLiteral("รายงานข้อมูลพนักงาน "), QStringLiteral("G"), QStringLiteral("รายชื่อผู้ครบสัญญา"));
}

ExportOptions receivedExport()
{
    return employeeReport(
        QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), QStringLiteral("O"), QStringLiteral("เงินชดเชยที่ได้รับ"));
}

ExportOptions forecastExport()
{
    return employeeReport(
        QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), QStringLiteral("P"), QStringLiteral("ประมาณการเงินชดเชย"));
}

QString exportWorkbook(const db::Database* db, const ExportRecord& record, const QString& baseName,
    const std::function<bool(const QString& path, QString* error)>& write, const ExportTarget& target, QString* error)
{
    auto writeFile = [&](QString* why) -> QString {
        if (!target.path.isEmpty())
            return write(target.path, why) ? target.path : QString();
        return writeNewExportFile(target.folder, baseName, target.now, write, why);
    };
    if (!db)
        return writeFile(error);
    if (!rights::allowed(*db, rights::Action::Export, error))
        return {};
    QJsonObject details {{QStringLiteral("report"), record.report}, {QStringLiteral("sheet"), record.sheet},
        {QStringLiteral("filters"), record.filters}, {QStringLiteral("rows"), record.rows}};
    // The file's name is known only once written: the row goes in last, in the
    // same transaction, and a failure to write it removes the file.
    db::Transaction tx(*db);
    QString written = writeFile(error);
    if (written.isEmpty())
        return {};
    details.insert(QStringLiteral("file"), written);
    QString why;
    if (!tx.active() || !audit::record(*db, QLatin1String(audit::kind::kReportExported), QString(), details, &why)
        || !tx.commit(&why)) {
        QFile::remove(written);
        if (error)
            *error = why.isEmpty() ? audit::writeFailureMessage(db->connection().lastError().text()) : why;
        return {};
    }
    return written;
}

QString exportReport(const db::Database* db, const ReportGrid& grid, const ExportOptions& options,
    const QJsonObject& filters, const ExportTarget& target, QString* error)
{
    const ExportRecord record {(options.title.trimmed() + QLatin1Char(' ') + options.secondTitle).trimmed(),
        options.sheetName, filters, static_cast<int>(grid.rows.size())};
    return exportWorkbook(
        db, record, options.fileName.isEmpty() ? options.sheetName : options.fileName,
        [&](const QString& path, QString* why) { return exportGrid(grid, options, path, why); }, target, error);
}

} // namespace velmora::reports
