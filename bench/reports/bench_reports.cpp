// 50,000 employees and 50,000 saved calculations in a temporary SQLite
// database (or the database of --db URL, which must be empty); for each of the
// three reports: the query, the grid showing every row, and the export.
//
//   bench_reports [--rows N] [--db URL]

#include "db/Database.h"
#include "db/Schema.h"
#include "files/XlsxExport.h"
#include "gui/common/GridModel.h"
#include "services/ReportExports.h"
#include "services/ReportQueries.h"
#include "services/Rights.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace velmora;
using namespace velmora::reports;

namespace {

bool fill(const db::Database& db, int rows, QString* error)
{
    db::Transaction tx(db);
    auto run = [&](const QString& sql, const QVariantList& values) {
        QSqlQuery q = db.query();
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        return db.exec(q, QStringLiteral("filling"), error);
    };
    const QStringList departs = {"คณะวิทยาศาสตร์", "คณะมนุษยศาสตร์", "คณะแพทยศาสตร์", "สำนักงานอธิการบดี"};
    for (int i = 0; i < departs.size(); ++i)
        if (!run("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)",
                {QString::number(11 + i), departs[i]}))
            return false;
    if (!run("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES ('2', 'พนักงานมหาวิทยาลัย')", {})
        || !run("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES ('3', 'พนักงานส่วนงาน')", {}))
        return false;
    QSqlQuery emp = db.query();
    emp.prepare("INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, Work_Begin_Date, "
                "Work_Begin_Date_Text, Work_Type_Code, Work_End_Date, Work_End_Date_Text, Depart_Code, Money_Rate, "
                "Emp_RecMChod_Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'A')");
    QSqlQuery saved = db.query();
    saved.prepare("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, "
                  "Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, Emp_Surname, Emp_F_Name, "
                  "Emp_L_Name, His_Rec_Money, Net_Money_Recieve, Depart_Code, Depart_Name, Rec_Status) "
                  "VALUES (?, ?, ?, '09/12/2569', ?, ?, ?, ?, ?, ?, ?, ?, 'นาย', ?, ?, 0, ?, ?, ?, 'FC')");
    for (int i = 0; i < rows; ++i) {
        const QString sap = QStringLiteral("%1").arg(10000000 + i);
        const QDate begin = QDate(2000, 1, 1).addDays(i % 7000);
        const QDate end = begin.addYears(5 + i % 10);
        const int d = i % departs.size();
        const double salary = 15000 + (i % 300) * 50.5;
        emp.bindValue(0, sap);
        emp.bindValue(1, QStringLiteral("31001%1").arg(i, 8, 10, QLatin1Char('0')));
        emp.bindValue(2, QStringLiteral("นางสาว"));
        emp.bindValue(3, QStringLiteral("ชื่อพนักงาน%1").arg(i));
        emp.bindValue(4, QStringLiteral("นามสกุลทดสอบ%1").arg(i % 977));
        emp.bindValue(5, QDate(1960 + i % 35, 1 + i % 12, 1 + i % 28).toString("dd/MM/yyyy"));
        emp.bindValue(6, QDateTime(begin, QTime(0, 0)));
        emp.bindValue(7, begin.toString("dd/MM/yyyy"));
        emp.bindValue(8, i % 3 == 0 ? QStringLiteral("3") : QStringLiteral("2"));
        emp.bindValue(9, QDateTime(end, QTime(0, 0)));
        emp.bindValue(10, end.toString("dd/MM/yyyy"));
        emp.bindValue(11, QString::number(11 + d));
        emp.bindValue(12, salary);
        if (!db.exec(emp, QStringLiteral("employees"), error))
            return false;
        const QVariantList values = {sap, QStringLiteral("31001%1").arg(i),
            QStringLiteral("%1/2015").arg(1 + i % 12, 2, 10, QLatin1Char('0')),
            begin.toString("dd/MM/") + QString::number(begin.year() + 543),
            end.toString("dd/MM/") + QString::number(end.year() + 543), begin.daysTo(end) + 1, 5 + i % 10, i % 12,
            i % 28, salary, 6 + i % 5, QStringLiteral("ชื่อ%1").arg(i), QStringLiteral("สกุล%1").arg(i % 977), salary * 6,
            QString::number(11 + d), departs[d]};
        for (int k = 0; k < values.size(); ++k)
            saved.bindValue(k, values[k]);
        if (!db.exec(saved, QStringLiteral("saved calculations"), error))
            return false;
    }
    return tx.commit(error);
}

double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

void measure(
    const char* name, const std::function<ReportResult()>& query, const ExportOptions& options, const QString& folder)
{
    QElapsedTimer t;
    t.start();
    ReportResult r = query();
    const double queryMs = msSince(t);
    if (!r.ok) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(r.error));
        return;
    }
    const qsizetype rows = r.grid.rows.size();

    // The grid: a new model reset and a view painting the first screenful.
    QTableView view;
    GridModel model;
    view.setModel(&model);
    view.resize(1280, 800);
    view.show();
    QApplication::processEvents();
    t.restart();
    model.setGrid(std::move(r.grid));
    view.repaint();
    QApplication::processEvents();
    const double showMs = msSince(t);

    t.restart();
    QString error;
    const QString path = exportGridToNewFile(model.grid(), options, folder, QDateTime::currentDateTime(), &error);
    const double exportMs = msSince(t);
    if (path.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(error));
        return;
    }
    std::printf("%-14s %7lld rows x %2d columns  query %7.0f ms  grid %6.0f ms  query+grid %7.0f ms  export %7.0f ms  "
                "(%.1f MB)\n",
        name, static_cast<long long>(rows), model.columnCount(), queryMs, showMs, queryMs + showMs, exportMs,
        QFileInfo(path).size() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // the services ask for a login: the benchmark holds every role
    rights::setLogin({QStringLiteral("bench"), rights::allRoles()});
    int rows = 50000;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--rows"))
            rows = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
    }
    QTemporaryDir dir;
    if (url.isEmpty())
        url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.db"));
    QString error;
    auto db = db::Database::open(url, &error);
    if (!db || !db::ensureSchema(*db, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer t;
    t.start();
    if (!fill(*db, rows, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("filled %d employees and %d saved calculations in %.1f s\n", rows, rows, t.elapsed() / 1000.0);

    measure(
        "contract-end", [&] { return queryContractEnd(*db, {}); }, contractEndExport(), dir.path());
    measure(
        "received", [&] { return queryReceived(*db, {}); }, receivedExport(), dir.path());
    measure(
        "forecast",
        [&] {
            ForecastCriteria c;
            c.calcYear = QStringLiteral("2561");
            return queryForecast(*db, c);
        },
        forecastExport(), dir.path());
    return 0;
}
