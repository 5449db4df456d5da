// Speed of the month-end run.
//
//   bench_run [--employees N] [--run M] [--pdf K] [--db URL]
//
// Fills a new database (a temporary SQLite file, or a schema of its own on the
// PostgreSQL server of URL, dropped afterwards) with N employees as bench_calc
// does (two or three periods each, a fifth with an earlier payment), M of them
// with contracts ending in 09/2024; then measures
//   1. the preview of the run of that month (choose, load and compute each),
//   2. the save of every ready line, each its own transaction,
//   3. the PDF of the first K saved lines (request document + annex each).

#include "db/Schema.h"
#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "services/MonthEndRun.h"
#include "services/SavedCalculations.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>
#include <ctime>
#include <memory>

using namespace velmora;

namespace {

[[noreturn]] void Fail(const QString& what)
{
    std::fprintf(stderr, "bench_run: %s\n", what.toUtf8().constData());
    std::exit(1);
}

void Exec(const db::Database& db, QSqlQuery& q, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    QString error;
    if (!db.exec(q, QStringLiteral("filling"), &error))
        Fail(error);
}

QString Sap(int i)
{
    return QStringLiteral("1%1").arg(i, 7, 10, QLatin1Char('0'));
}

void Fill(const db::Database& db, int employees, int inRun)
{
    db::Transaction tx(db);
    QSqlQuery emp = db.query();
    emp.prepare(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, "
                               "Work_Begin_Date_Text, Work_Type_Code, Work_End_Date_Text, Depart_Code, Money_Rate, "
                               "Emp_RecMChod_Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QSqlQuery reason = db.query();
    reason.prepare(QStringLiteral("INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)"));
    QSqlQuery period = db.query();
    period.prepare(QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, "
                                  "Work_E_Date) VALUES (?, ?, ?, ?, ?, ?)"));
    QSqlQuery saved = db.query();
    saved.prepare(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, "
                                 "Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, "
                                 "His_Rec_Money, Net_Money_Recieve, Rec_Status) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QRandomGenerator random(2550);
    const QString type2 = QStringLiteral("พนักงานมหาวิทยาลัย");
    const QString type3 = QStringLiteral("พนักงานส่วนงาน");
    for (int i = 0; i < employees; ++i) {
        const QString sap = Sap(i);
        const QString ssn = QStringLiteral("3%1").arg(i, 12, 10, QLatin1Char('0'));
        const double salary = 15000 + random.bounded(2000000) / 100.0;
        Exec(db, emp,
            {sap, ssn, QStringLiteral("นาย"), QStringLiteral("ทดสอบ%1").arg(i), QStringLiteral("ระบบ"),
                QStringLiteral("01/01/1980"), QStringLiteral("01/10/2006"), QStringLiteral("2"),
                // the first inRun end in 09/2024, the others over the twelve months of 2025
                i < inRun ? QStringLiteral("30/09/2024")
                          : QStringLiteral("28/%1/2025").arg(1 + i % 12, 2, 10, QLatin1Char('0')),
                QStringLiteral("1%1").arg(i % 9), salary, QStringLiteral("A")});
        Exec(db, reason, {sap, QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา")});
        const int startYear = 2547 + static_cast<int>(random.bounded(10));
        Exec(db, period,
            {sap, ssn, QStringLiteral("3"), type3, QStringLiteral("01/10/%1").arg(startYear),
                QStringLiteral("30/09/%1").arg(startYear + 2)});
        Exec(db, period,
            {sap, ssn, QStringLiteral("2"), type2, QStringLiteral("01/10/%1").arg(startYear + 2),
                QStringLiteral("15/03/%1").arg(startYear + 5)});
        if (i % 2 == 0)
            Exec(db, period,
                {sap, ssn, QStringLiteral("2"), type2, QStringLiteral("16/03/%1").arg(startYear + 5),
                    QStringLiteral("30/09/2567")});
        if (i % 5 == 0)
            Exec(db, saved,
                {QStringLiteral("9%1").arg(i, 7, 10, QLatin1Char('0')), ssn, QStringLiteral("03/2013"),
                    QStringLiteral("29/03/2556"), QStringLiteral("17/10/2550"), QStringLiteral("31/03/2556"), 1993, 5,
                    5, 15, 15000.0, 6, 0.0, 90000.0, QStringLiteral("FC")});
    }
    QString error;
    if (!tx.commit(&error))
        Fail(error);
}

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

// Processor time of this process (the machine may be shared: wall-clock time
// then includes waiting for a processor).
double Cpu_Ms()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int employees = 50000;
    int inRun = 1000;
    int pdfLines = 1000;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--employees"))
            employees = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--run"))
            inRun = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--pdf"))
            pdfLines = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
        else
            Fail(QStringLiteral("usage: bench_run [--employees N] [--run M] [--pdf K] [--db URL]"));
    }
    inRun = std::min(inRun, employees);

    QTemporaryDir dir;
    QString schema;
    QString error;
    if (url.isEmpty()) {
        url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.sqlite"));
    } else {
        schema = QStringLiteral("bench_run_%1").arg(QCoreApplication::applicationPid());
        auto admin = db::Database::open(url, &error);
        if (!admin)
            Fail(error);
        QSqlQuery q = admin->query();
        if (!q.exec(QStringLiteral("CREATE SCHEMA ") + schema))
            Fail(QStringLiteral("cannot create the schema"));
        QUrl u(url);
        QUrlQuery query(u);
        query.addQueryItem(QStringLiteral("schema"), schema);
        u.setQuery(query);
        url = u.toString();
    }
    {
        auto database = db::Database::open(url, &error);
        if (!database || !db::ensureSchema(*database, &error))
            Fail(error);
        const db::Database& db = *database;

        QElapsedTimer timer;
        timer.start();
        Fill(db, employees, inRun);
        std::printf("database: %s, %d employees filled in %.0f ms\n", qPrintable(db.dialect().name()), employees,
            Ms(timer.nsecsElapsed()));

        run::Run_Choice choice;
        choice.request_month = "10/2024";
        choice.ends_month = "09/2024";
        run::Run_Preview preview;
        std::string message;
        double cpu = Cpu_Ms();
        timer.restart();
        if (!run::Preview_Run(db, choice, &preview, &message))
            Fail(QString::fromStdString(message));
        const double previewMs = Ms(timer.nsecsElapsed());
        const double previewCpu = Cpu_Ms() - cpu;
        const run::Run_Totals totals = run::Compute_Run_Totals(preview.lines);

        cpu = Cpu_Ms();
        timer.restart();
        const run::Save_Outcome saved = run::Save_Run(db, preview, run::Ready_Marks(preview));
        const double saveMs = Ms(timer.nsecsElapsed());
        const double saveCpu = Cpu_Ms() - cpu;
        if (!saved.error.empty())
            Fail(QString::fromStdString(saved.error));

        cpu = Cpu_Ms();
        timer.restart();
        QList<print::PageLayout> pages;
        int printed = 0;
        for (const run::Run_Line& l : preview.lines) {
            if (l.state != run::Line_State::Saved || printed == pdfLines)
                continue;
            print::AnnexDocument document;
            if (!print::readAnnexDocument(db, QString::fromStdString(l.sapid), &document, &error))
                Fail(error);
            pages << print::buildCalculationPrint(document);
            ++printed;
        }
        const double buildMs = Ms(timer.nsecsElapsed());
        timer.restart();
        if (printed > 0 && !print::writePdf(dir.filePath(QStringLiteral("run.pdf")), pages, &error))
            Fail(error);
        const double pdfMs = Ms(timer.nsecsElapsed());
        const double printCpu = Cpu_Ms() - cpu;

        std::printf("preview of the run: %zu lines (%d ready, %d refused): %8.0f ms (processor %.0f ms)\n",
            preview.lines.size(), totals.ready, totals.refused, previewMs, previewCpu);
        std::printf("save of the ready lines: %d saved, %d refused: %8.0f ms (processor %.0f ms)\n", saved.saved,
            saved.refused, saveMs, saveCpu);
        std::printf("print-out of %d saved lines (%lld pages): read+build %.0f ms, PDF %.0f ms (processor %.0f ms)\n",
            printed, static_cast<long long>(pages.size()), buildMs, pdfMs, printCpu);
    }
    if (!schema.isEmpty()) {
        QUrl u(url);
        u.setQuery(QString());
        auto admin = db::Database::open(u.toString(), &error);
        if (admin) {
            QSqlQuery q = admin->query();
            q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
            q.exec(QStringLiteral("DROP SCHEMA ") + schema + QStringLiteral(" CASCADE"));
        }
    }
    return 0;
}
