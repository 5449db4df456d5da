// Speed of the liability outlook.
//
//   bench_outlook [--employees N] [--runs R] [--db URL]
//
// Fills a new database (a temporary SQLite file, or a schema of its own on the
// PostgreSQL server of URL, dropped afterwards) with N
// employees in 20 departments and two employment types, two work-history
// periods each (2N periods), an earlier payment for every tenth person,
// contract ends spread evenly over the 60 months from 10/2026 and birth years
// over 1966-2000; then runs R times each
//   1. the contract-end outlook for the 12 months from 10/2026 (every employee
//      due computed by the calculation's loading and four steps),
//   2. the age-60 outlook for the 10 years from 2569 with a 5 % raise,
// and prints the best and the median time of each.

#include "services/OutlookService.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace velmora;

namespace {

using bench::Exec;
using bench::Fail;

void Fill(const db::Database& db, int employees)
{
    db::Transaction tx(db);
    QSqlQuery dep = db.query();
    dep.prepare(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"));
    for (int d = 1; d <= 20; ++d)
        Exec(db, dep, {QStringLiteral("D%1").arg(d, 2, 10, QLatin1Char('0')), QStringLiteral("คณะที่ %1").arg(d)});
    QSqlQuery type = db.query();
    type.prepare(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"));
    const QString type2 = QStringLiteral("พนักงานมหาวิทยาลัย");
    const QString type3 = QStringLiteral("พนักงานส่วนงาน");
    Exec(db, type, {QStringLiteral("2"), type2});
    Exec(db, type, {QStringLiteral("3"), type3});

    // The contract's first and last days as dates too (the age-60 outlook reads them).
    QSqlQuery emp = db.query();
    emp.prepare(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, "
                               "Work_Begin_Date, Work_Begin_Date_Text, Work_Type_Code, Work_End_Date, "
                               "Work_End_Date_Text, Depart_Code, Money_Rate, Emp_RecMChod_Status) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    bench::Employee_Inserts insert(db);
    QRandomGenerator random(2569);
    for (int i = 0; i < employees; ++i) {
        const QString sap = QStringLiteral("1%1").arg(i, 7, 10, QLatin1Char('0'));
        const QString ssn = QStringLiteral("3%1").arg(i, 12, 10, QLatin1Char('0'));
        const double salary = 15000 + random.bounded(2000000) / 100.0;
        const bool university = i % 3 != 0;
        const int startYear = 2005 + int(random.bounded(15)); // Christian era
        const QDate begin(startYear, 10, 1);
        const QDate end = QDate(2026, 10, 1).addMonths(i % 60 + 1).addDays(-1); // last day of a month
        const QString birth = QStringLiteral("%1/%2/%3")
                                  .arg(1 + int(random.bounded(28)), 2, 10, QLatin1Char('0'))
                                  .arg(1 + int(random.bounded(12)), 2, 10, QLatin1Char('0'))
                                  .arg(1966 + int(random.bounded(35)));
        Exec(db, emp,
            {sap, ssn, QStringLiteral("นาย"), QStringLiteral("ทดสอบ%1").arg(i), QStringLiteral("ระบบ"), birth,
                QDateTime(begin, QTime(0, 0)), begin.toString(QStringLiteral("dd/MM/yyyy")),
                university ? QStringLiteral("2") : QStringLiteral("3"), QDateTime(end, QTime(0, 0)),
                end.toString(QStringLiteral("dd/MM/yyyy")),
                QStringLiteral("D%1").arg(1 + i % 20, 2, 10, QLatin1Char('0')), salary, QStringLiteral("A")});
        Exec(db, insert.reason, {sap, QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา")});
        // Two periods, Buddhist era: department first, then university.
        const int beYear = startYear + 543;
        const QString middle = QStringLiteral("30/09/%1").arg(beYear + 2);
        Exec(db, insert.period, {sap, ssn, QStringLiteral("3"), type3, QStringLiteral("01/10/%1").arg(beYear), middle});
        Exec(db, insert.period,
            {sap, ssn, QStringLiteral("2"), type2, QStringLiteral("01/10/%1").arg(beYear + 2),
                end.toString(QStringLiteral("dd/MM/")) + QString::number(end.year() + 543)});
        if (i % 10 == 0)
            bench::Add_Earlier_Payment(db, insert, i, ssn);
    }
    QString error;
    if (!tx.commit(&error))
        Fail(error);
}

struct Timing
{
    double best = 0, median = 0;
    double cpuBest = 0; // processor time of this process: the figure that the machine's other load does not inflate
    outlook::Outlook_Result last;
};

Timing Measure(const db::Database& db, const outlook::Outlook_Criteria& criteria, int runs)
{
    std::vector<double> ms, cpu;
    Timing t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const std::clock_t start = std::clock();
        timer.start();
        t.last = outlook::Run_Outlook(db, criteria);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        cpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
        if (!t.last.ok)
            Fail(t.last.error);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    t.cpuBest = cpu.front();
    t.best = ms.front();
    t.median = ms[ms.size() / 2];
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::Log_In_With_Every_Role();
    int employees = 50000;
    int runs = 3;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--employees"))
            employees = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
        else
            Fail(QStringLiteral("usage: bench_outlook [--employees N] [--runs R] [--db URL]"));
    }
    const bench::Bench_Database bench(url, QStringLiteral("bench_outlook"));
    const db::Database* database = &bench.db();
    QElapsedTimer timer;
    timer.start();
    Fill(*database, employees);
    std::printf("database: %s, %d employees and %d periods filled in %.1f s\n", qPrintable(database->dialect().name()),
        employees, 2 * employees, timer.elapsed() / 1000.0);

    outlook::Outlook_Criteria contract;
    contract.kind = outlook::Outlook_Kind::Contract_End;
    contract.from = QStringLiteral("10/2026");
    const Timing c = Measure(*database, contract, runs);
    std::printf("contract-end outlook, 12 months: %d counted, %zu refused, best %.0f ms, median %.0f ms, processor "
                "time %.0f ms (%d runs)\n",
        c.last.grand.count, c.last.refused.size(), c.best, c.median, c.cpuBest, runs);

    outlook::Outlook_Criteria age60;
    age60.kind = outlook::Outlook_Kind::Age60;
    age60.from = QStringLiteral("2569");
    age60.raise = QStringLiteral("5");
    const Timing a = Measure(*database, age60, runs);
    std::printf("age-60 outlook, 10 years:        %d counted, %zu refused, best %.0f ms, median %.0f ms, processor "
                "time %.0f ms (%d runs)\n",
        a.last.grand.count, a.last.refused.size(), a.best, a.median, a.cpuBest, runs);
    return 0;
}
