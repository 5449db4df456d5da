// Speed of the calculation with its database work.
//
//   bench_calc [--employees N] [--saves M] [--db URL]
//
// Fills a new database (a temporary SQLite file, or a schema of its own on the
// PostgreSQL server of URL, dropped afterwards) with N employees, each with
// two or three work-history periods, a fifth of them with an earlier payment
// under another number; then measures
//   1. the rules alone on one employee's input,
//   2. load and compute for one employee (the queries of pages 1 to 6),
//   3. M consecutive calculations with save, each its own transaction.

#include "db/Schema.h"
#include "rules/Calculation.h"
#include "services/CalculationService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>
#include <memory>

using namespace velmora;

namespace {

[[noreturn]] void Fail(const QString& what)
{
    std::fprintf(stderr, "bench_calc: %s\n", what.toUtf8().constData());
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

void Fill(const db::Database& db, int employees)
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
                QStringLiteral("30/09/2024"), QStringLiteral("11"), salary, QStringLiteral("A")});
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

double Ms(qint64 ns, int count)
{
    return static_cast<double>(ns) / 1e6 / count;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int employees = 10000;
    int saves = 1000;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--employees"))
            employees = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--saves"))
            saves = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
        else
            Fail(QStringLiteral("usage: bench_calc [--employees N] [--saves M] [--db URL]"));
    }
    saves = std::min(saves, employees);

    QTemporaryDir dir;
    QString schema;
    QString error;
    if (url.isEmpty()) {
        url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.sqlite"));
    } else {
        schema = QStringLiteral("bench_calc_%1").arg(QCoreApplication::applicationPid());
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
        Fill(db, employees);
        std::printf("database: %s, %d employees filled in %.0f ms\n", qPrintable(db.dialect().name()), employees,
            Ms(timer.nsecsElapsed(), 1));

        // 1. The rules alone.
        calc::Calculation_Input input;
        // Employee 0: three periods and an earlier payment under another number.
        const std::string withEarlier = Sap(0).toStdString();
        std::string loadError;
        if (!calc::Load_Calculation_Input(db, withEarlier, "10/2024", std::nullopt, std::nullopt, &input, &loadError))
            Fail(QString::fromStdString(loadError));
        constexpr int kRules = 100000;
        timer.restart();
        std::size_t sink = 0;
        for (int i = 0; i < kRules; ++i)
            sink += calc::Run_Calculation(input).money.net_text.size();
        const double rulesMs = Ms(timer.nsecsElapsed(), kRules);

        // 2. Load and compute one employee, as pages 1 to 6 do.
        constexpr int kLoads = 1000;
        timer.restart();
        for (int i = 0; i < kLoads; ++i) {
            calc::Calculation_Input in;
            std::string message;
            if (!calc::Load_Calculation_Input(db, withEarlier, "10/2024", std::nullopt, std::nullopt, &in, &message))
                Fail(QString::fromStdString(message));
            const calc::Calculation c = calc::Run_Calculation(in);
            if (!c.ok())
                Fail(QString::fromStdString(c.error));
            sink += c.money.net_text.size();
        }
        const double loadMs = Ms(timer.nsecsElapsed(), kLoads);

        // 3. Consecutive calculations with save.
        const std::string dateEntry = "09/12/2569";
        timer.restart();
        for (int i = 0; i < saves; ++i) {
            calc::Calculation_Input in;
            std::string message;
            if (!calc::Load_Calculation_Input(
                    db, Sap(i).toStdString(), "10/2024", std::nullopt, std::nullopt, &in, &message))
                Fail(QString::fromStdString(message));
            const calc::Calculation c = calc::Run_Calculation(in);
            if (!calc::Save_Calculation(db, in, c, dateEntry, &message))
                Fail(QString::fromStdString(message));
        }
        const double saveMs = Ms(timer.nsecsElapsed(), saves);

        std::printf("rules only (one employee, %d runs):          %8.4f ms per calculation\n", kRules, rulesMs);
        std::printf("load + compute one employee (%d runs):        %8.3f ms per calculation\n", kLoads, loadMs);
        std::printf("load + compute + save, %d employees:          %8.3f ms per calculation\n", saves, saveMs);
        if (sink == 0)
            std::printf("?\n");
    }
    if (!schema.isEmpty()) {
        // Connection URL without the schema, to drop it.
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
