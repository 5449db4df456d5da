#pragma once

// What every benchmark needs: failing loudly, running a filling statement,
// the SAP IDs and processor time, a database of its own, and the employees
// that the calculation benchmarks compute.

#include "db/Database.h"

#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <functional>
#include <memory>

namespace velmora::bench {

// The services ask for a login: a benchmark acts as "bench", holding every role.
void Log_In_With_Every_Role();

// Prints "<program>: <what>" on stderr and ends the process with status 1.
[[noreturn]] void Fail(const QString& what);

// Binds `values` in order and runs the prepared statement, or fails.
void Exec(const db::Database& db, QSqlQuery& q, const QVariantList& values);

// Opens the database of `url` and creates its tables when it has none, or fails.
std::unique_ptr<db::Database> Open_Database(const QString& url);

// "1" and seven digits: the SAP ID of the i-th employee filled.
QString Sap(int i);

// Processor time of this process in ms: on a machine shared with other work
// the wall-clock time also holds the waiting for a processor.
double Cpu_Ms();

// A new database with the schema: a temporary SQLite file when `url` is
// empty, else a schema of its own on the PostgreSQL server of `url`, dropped
// when this goes.
class Bench_Database
{
public:
    Bench_Database(QString url, const QString& schemaPrefix);
    ~Bench_Database();
    Bench_Database(const Bench_Database&) = delete;
    Bench_Database& operator=(const Bench_Database&) = delete;

    const db::Database& db() const { return *m_db; }
    // The URL of this database, for another process.
    const QString& url() const { return m_url; }

private:
    QTemporaryDir m_dir;
    QString m_url;
    QString m_schema;
    std::unique_ptr<db::Database> m_db;
};

// The statements that fill employees, their reasons, periods and saved
// calculations, prepared once.
struct Employee_Inserts
{
    explicit Employee_Inserts(const db::Database& db);
    QSqlQuery employee; // SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, Work_Begin_Date_Text,
                        // Work_Type_Code, Work_End_Date_Text, Depart_Code, Money_Rate, Emp_RecMChod_Status
    QSqlQuery reason; // SapID, Event_out
    QSqlQuery period; // SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, Work_E_Date
    QSqlQuery saved; // SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year,
                     // No_Month, No_Day, Last_Salary, N_T, His_Rec_Money, Net_Money_Recieve, Rec_Status
};

// An earlier payment of the i-th employee under another number ("9" and
// seven digits): 90,000.00 requested in 03/2013.
void Add_Earlier_Payment(const db::Database& db, Employee_Inserts& insert, int i, const QString& ssn);

// `employees` employees in one transaction, each with two or three
// work-history periods and a fifth of them with an earlier payment under
// another number; the contract end and the department code of the i-th are
// given. The same seed gives the same salaries and periods on every run.
void Fill_Calculated_Employees(const db::Database& db, int employees, const std::function<QString(int)>& contractEnd,
    const std::function<QString(int)>& departCode);

// `rows` audit-log rows as the log writes them (a saved calculation each,
// chained) and the head, in one transaction.
void Fill_Audit_Log(const db::Database& db, int rows);

} // namespace velmora::bench
