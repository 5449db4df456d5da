#include "support/BenchSupport.h"

#include "db/AuditLog.h"
#include "db/Schema.h"
#include "services/Rights.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace velmora::bench {

void Log_In_With_Every_Role()
{
    rights::setLogin({QStringLiteral("bench"), rights::allRoles()});
}

void Fail(const QString& what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), what.toUtf8().constData());
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

std::unique_ptr<db::Database> Open_Database(const QString& url)
{
    QString error;
    auto database = db::Database::open(url, &error);
    if (!database || !db::ensureSchema(*database, &error))
        Fail(error);
    return database;
}

QString Sap(int i)
{
    return QStringLiteral("1%1").arg(i, 7, 10, QLatin1Char('0'));
}

double Cpu_Ms()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

Bench_Database::Bench_Database(QString url, const QString& schemaPrefix)
    : m_url(std::move(url))
{
    QString error;
    if (m_url.isEmpty()) {
        m_url = QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("bench.sqlite"));
    } else {
        m_schema = QStringLiteral("%1_%2").arg(schemaPrefix).arg(QCoreApplication::applicationPid());
        auto admin = db::Database::open(m_url, &error);
        if (!admin)
            Fail(error);
        QSqlQuery q = admin->query();
        if (!q.exec(QStringLiteral("CREATE SCHEMA ") + m_schema))
            Fail(QStringLiteral("cannot create the schema"));
        QUrl u(m_url);
        QUrlQuery query(u);
        query.addQueryItem(QStringLiteral("schema"), m_schema);
        u.setQuery(query);
        m_url = u.toString();
    }
    m_db = db::Database::open(m_url, &error);
    if (!m_db || !db::ensureSchema(*m_db, &error))
        Fail(error);
}

Bench_Database::~Bench_Database()
{
    m_db.reset();
    if (m_schema.isEmpty())
        return;
    // The connection URL without the schema, to drop it.
    QUrl u(m_url);
    u.setQuery(QString());
    QString error;
    auto admin = db::Database::open(u.toString(), &error);
    if (admin) {
        QSqlQuery q = admin->query();
        q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
        q.exec(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }
}

Employee_Inserts::Employee_Inserts(const db::Database& db)
    : employee(db.query())
    , reason(db.query())
    , period(db.query())
    , saved(db.query())
{
    employee.prepare(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, "
                                    "Work_Begin_Date_Text, Work_Type_Code, Work_End_Date_Text, Depart_Code, "
                                    "Money_Rate, Emp_RecMChod_Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    reason.prepare(QStringLiteral("INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)"));
    period.prepare(QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, "
                                  "Work_E_Date) VALUES (?, ?, ?, ?, ?, ?)"));
    saved.prepare(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, "
                                 "Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, "
                                 "His_Rec_Money, Net_Money_Recieve, Rec_Status) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
}

void Add_Earlier_Payment(const db::Database& db, Employee_Inserts& insert, int i, const QString& ssn)
{
    Exec(db, insert.saved,
        {QStringLiteral("9%1").arg(i, 7, 10, QLatin1Char('0')), ssn, QStringLiteral("03/2013"),
            QStringLiteral("29/03/2556"), QStringLiteral("17/10/2550"), QStringLiteral("31/03/2556"), 1993, 5, 5, 15,
            15000.0, 6, 0.0, 90000.0, QStringLiteral("FC")});
}

void Fill_Calculated_Employees(const db::Database& db, int employees, const std::function<QString(int)>& contractEnd,
    const std::function<QString(int)>& departCode)
{
    db::Transaction tx(db);
    Employee_Inserts insert(db);
    QRandomGenerator random(2550);
    const QString type2 = QStringLiteral("พนักงานมหาวิทยาลัย");
    const QString type3 = QStringLiteral("พนักงานส่วนงาน");
    for (int i = 0; i < employees; ++i) {
        const QString sap = Sap(i);
        const QString ssn = QStringLiteral("3%1").arg(i, 12, 10, QLatin1Char('0'));
        const double salary = 15000 + random.bounded(2000000) / 100.0;
        Exec(db, insert.employee,
            {sap, ssn, QStringLiteral("นาย"), QStringLiteral("ทดสอบ%1").arg(i), QStringLiteral("ระบบ"),
                QStringLiteral("01/01/1980"), QStringLiteral("01/10/2006"), QStringLiteral("2"), contractEnd(i),
                departCode(i), salary, QStringLiteral("A")});
        Exec(db, insert.reason, {sap, QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา")});
        const int startYear = 2547 + static_cast<int>(random.bounded(10));
        Exec(db, insert.period,
            {sap, ssn, QStringLiteral("3"), type3, QStringLiteral("01/10/%1").arg(startYear),
                QStringLiteral("30/09/%1").arg(startYear + 2)});
        Exec(db, insert.period,
            {sap, ssn, QStringLiteral("2"), type2, QStringLiteral("01/10/%1").arg(startYear + 2),
                QStringLiteral("15/03/%1").arg(startYear + 5)});
        if (i % 2 == 0)
            Exec(db, insert.period,
                {sap, ssn, QStringLiteral("2"), type2, QStringLiteral("16/03/%1").arg(startYear + 5),
                    QStringLiteral("30/09/2567")});
        if (i % 5 == 0)
            Add_Earlier_Payment(db, insert, i, ssn);
    }
    QString error;
    if (!tx.commit(&error))
        Fail(error);
}

void Fill_Audit_Log(const db::Database& db, int rows)
{
    db::Transaction tx(db);
    QSqlQuery q = db.query();
    q.prepare(QStringLiteral("INSERT INTO EP_Audit_Log (Seq_No, Event_Time, User_Name, Origin, Machine_Address,"
                             " Event_Kind, SapID, Details, Chain_Value) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QString previous;
    audit::Entry e;
    e.time = QStringLiteral("2026-12-09 10:00:00");
    e.user = QStringLiteral("finance01");
    e.origin = QStringLiteral("velmora");
    e.machine = QStringLiteral("10.1.2.3");
    e.kind = QStringLiteral("calculation-saved");
    // The time as the log binds it on each server.
    const QVariant time = db.backend() == db::Backend::Sqlite
        ? QVariant(e.time)
        : QVariant(QDateTime::fromString(e.time, QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    for (int i = 1; i <= rows; ++i) {
        e.seq = i;
        e.sapid = QStringLiteral("1%1").arg(i % 50000, 7, 10, QLatin1Char('0'));
        e.details = QStringLiteral("{\"net\":\"%1.00\",\"request_month\":\"10/2012\",\"multiplier\":6,"
                                   "\"name\":\"นายทดสอบ ระบบ\"}")
                        .arg(i);
        e.chain = audit::chainValue(previous, e);
        previous = e.chain;
        const QVariant values[] = {e.seq, time, e.user, e.origin, e.machine, e.kind, e.sapid, e.details, e.chain};
        for (int k = 0; k < 9; ++k)
            q.bindValue(k, values[k]);
        QString error;
        if (!db.exec(q, QStringLiteral("fill"), &error))
            Fail(error);
    }
    QSqlQuery head = db.query();
    head.prepare(QStringLiteral("UPDATE EP_Audit_Head SET Seq_No = ?, Chain_Value = ?"));
    head.addBindValue(rows);
    head.addBindValue(previous);
    QString error;
    if (!db.exec(head, QStringLiteral("head"), &error) || !tx.commit(&error))
        Fail(error);
}

} // namespace velmora::bench
