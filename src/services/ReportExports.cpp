#include "services/ReportExports.h"

#include "db/AuditLog.h"

#include <QFile>
#include <QSqlError>

namespace velmora::reports {

namespace {

ExportOptions employeeReport(const QString& title, const QString& lastStyled, const QString& fileName)
{
    ExportOptions o;
    o.fileName = fileName;
    o.sheetName = QStringLiteral("Emp Pro");
    o.titleRange = QStringLiteral("A1:I1");
    o.title = title;
    o.lastStyledColumn = lastStyled;
    o.pageTexts = PageTexts::SetA;
    o.widths = {4, 11, 23, 20, 25, 13, 28};
    return o;
}

} // namespace

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

QString exportReport(const db::Database* db, const ReportGrid& grid, const ExportOptions& options,
    const QJsonObject& filters, const ExportTarget& target, QString* error)
{
    auto write = [&](QString* why) -> QString {
        if (!target.path.isEmpty())
            return exportGrid(grid, options, target.path, why) ? target.path : QString();
        return exportGridToNewFile(grid, options, target.folder, target.now, why);
    };
    if (!db)
        return write(error);
    QString written;
    QJsonObject details {
        {QStringLiteral("report"), (options.title.trimmed() + QLatin1Char(' ') + options.secondTitle).trimmed()},
        {QStringLiteral("sheet"), options.sheetName}, {QStringLiteral("filters"), filters},
        {QStringLiteral("rows"), static_cast<int>(grid.rows.size())}};
    // The file's name is known only once written: the row goes in last, in the
    // same transaction, and a failure to write it removes the file.
    db::Transaction tx(*db);
    written = write(error);
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

} // namespace velmora::reports
