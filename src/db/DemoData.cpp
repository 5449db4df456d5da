#include "db/DemoData.h"

#include "db/Statement.h"

#include "db/Users.h"

#include <QSqlError>
#include <QVariant>

namespace velmora::db {

namespace {

struct DemoEmployee
{
    const char* sapId;
    const char* ssn;
    const char* prefix;
    const char* firstName;
    const char* lastName;
    const char* birthDay; // Christian era, as imported
    QDate begin;
    const char* type;
    QDate end;
    const char* depart;
    double salary;
    const char* status;
    const char* reason; // empty: no reason record
};

struct DemoPeriod
{
    const char* sapId;
    const char* ssn;
    const char* code;
    QString begin; // Buddhist era
    QString end;
};

QString text(const QDate& d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString textBE(const QDate& d)
{
    return d.toString(QStringLiteral("dd/MM/")) + QString::number(d.year() + 543);
}

class Writer
{
public:
    explicit Writer(const Database& db)
        : m_db(db)
    { }

    bool exists(const QString& sql, const QVariantList& key)
    {
        if (!m_ok)
            return false;
        QSqlQuery q = m_db.query();
        if (!prepareAndRun(m_db, q, sql, key, QStringLiteral("reading the demo data"), &m_error)) {
            m_ok = false;
            return false;
        }
        return q.next();
    }

    void insert(const QString& sql, const QVariantList& values)
    {
        if (!m_ok)
            return;
        m_ok = prepareAndRun(m_db, sql, values, QStringLiteral("writing the demo data"), &m_error);
    }

    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }

private:
    const Database& m_db;
    bool m_ok = true;
    QString m_error;
};

} // namespace

bool addDemoData(const Database& db, const QDate& today, QString* error)
{
    const QDate monthEnd(today.year(), today.month(), today.daysInMonth());
    const QDate nextMonthEnd = monthEnd.addDays(1).addMonths(1).addDays(-1);
    const QDate inThreeMonths = monthEnd.addDays(1).addMonths(3).addDays(-1);
    const QDate yearEnd(today.year(), 12, 31);

    Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    Writer w(db);

    const QList<QPair<QString, QString>> departs = {
        {QStringLiteral("01"), QStringLiteral("สำนักงานอธิการบดี")},
        {QStringLiteral("11"), QStringLiteral("คณะวิทยาศาสตร์")},
        {QStringLiteral("12"), QStringLiteral("คณะมนุษยศาสตร์")},
        {QStringLiteral("13"), QStringLiteral("คณะแพทยศาสตร์")},
    };
    for (const auto& [code, name] : departs) {
        if (!w.exists(QStringLiteral("SELECT 1 FROM EP_TR_Depart WHERE Depart_Code = ?"), {code}))
            w.insert(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"), {code, name});
    }
    const QList<QPair<QString, QString>> types = {
        {QStringLiteral("2"), QStringLiteral("พนักงานมหาวิทยาลัย")},
        {QStringLiteral("3"), QStringLiteral("พนักงานส่วนงาน")},
    };
    for (const auto& [code, name] : types) {
        if (!w.exists(QStringLiteral("SELECT 1 FROM EP_TR_Work_Type WHERE Work_Type_Code = ?"), {code}))
            w.insert(
                QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"), {code, name});
    }

    // 10000001 is the worked example of the compensation rules: 20,000.00 a
    // month, a department period then a university period, 6 months' salary.
    const QList<DemoEmployee> employees = {
        {"10000001", "3100100000011", "นาย", "สมชาย", "ใจดี", "15/03/1975", QDate(2006, 10, 1), "2", monthEnd, "11",
            20000.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000002", "3100100000022", "นางสาว", "สุดา", "รักงาน", "02/11/1980", QDate(2015, 6, 1), "2", monthEnd, "12",
            18500.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000003", "3100100000033", "นาง", "มาลี", "ศรีสุข", "20/07/1978", QDate(2017, 6, 15), "3", monthEnd, "13",
            25000.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000004", "3100100000044", "นาย", "ประเสริฐ", "มั่นคง", "11/01/1985", QDate(2019, 1, 2), "2", nextMonthEnd,
            "11", 21000.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000005", "3100100000055", "นางสาว", "กานดา", "แก้วใส", "05/05/1990", QDate(2021, 8, 1), "3", inThreeMonths,
            "12", 16000.0, "A", ""},
        {"20000001", "3100100000066", "นาย", "วิชัย", "ทองดี", "30/09/1968", QDate(2005, 4, 1), "2", QDate(2013, 3, 31),
            "01", 15000.0, "P", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"20000002", "3100100000066", "นาย", "วิชัย", "ทองดี", "30/09/1968", QDate(2013, 4, 1), "2", monthEnd, "01",
            30000.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000008", "3100100000088", "นาง", "บุญมี", "มีสุข", "12/02/1966", QDate(2008, 2, 1), "2", yearEnd, "01", 28000.0,
            "A", "เกษียณอายุงาน"},
        {"10000009", "3100100000099", "นาย", "อนันต์", "ยิ่งยง", "01/12/1972", QDate(2010, 12, 1), "3", monthEnd, "13",
            22500.5, "A", "เกษียณอายุงาน"},
        {"10000010", "3100100000100", "นางสาว", "ปราณี", "ใจงาม", "14/04/1988", QDate(2020, 10, 1), "2", yearEnd, "12",
            17500.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000011", "3100100000111", "นาย", "ธนา", "สุขสันต์", "08/08/1983", QDate(2016, 3, 1), "3", nextMonthEnd, "11",
            19800.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
        {"10000012", "3100100000122", "นาง", "ศิริพร", "วงศ์ดี", "23/06/1979", QDate(2012, 9, 1), "2", monthEnd, "13",
            26500.0, "A", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"},
    };
    for (const DemoEmployee& e : employees) {
        const QString sap = QLatin1String(e.sapId);
        if (w.exists(QStringLiteral("SELECT 1 FROM EP_Emp_Main WHERE SapID = ?"), {sap}))
            continue;
        w.insert(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, "
                                "Work_Begin_Date, Work_Begin_Date_Text, Work_Type_Code, Work_End_Date, "
                                "Work_End_Date_Text, Depart_Code, Money_Rate, Emp_RecMChod_Status) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {sap, QLatin1String(e.ssn), QString::fromUtf8(e.prefix), QString::fromUtf8(e.firstName),
                QString::fromUtf8(e.lastName), QLatin1String(e.birthDay), QDateTime(e.begin, QTime(0, 0)),
                text(e.begin), QLatin1String(e.type), QDateTime(e.end, QTime(0, 0)), text(e.end),
                QLatin1String(e.depart), e.salary, QLatin1String(e.status)});
        if (*e.reason)
            w.insert(QStringLiteral("INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)"),
                {sap, QString::fromUtf8(e.reason)});
    }

    const QList<DemoPeriod> periods = {
        {"10000001", "3100100000011", "3", QStringLiteral("01/10/2549"), QStringLiteral("30/09/2551")},
        {"10000001", "3100100000011", "2", QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555")},
        {"10000002", "3100100000022", "2", QStringLiteral("01/06/2558"), textBE(monthEnd)},
        {"10000003", "3100100000033", "3", QStringLiteral("15/06/2560"), textBE(monthEnd)},
        {"10000004", "3100100000044", "2", QStringLiteral("02/01/2562"), textBE(nextMonthEnd)},
        {"20000001", "3100100000066", "2", QStringLiteral("01/04/2548"), QStringLiteral("31/03/2556")},
        {"20000002", "3100100000066", "2", QStringLiteral("01/04/2556"), textBE(monthEnd)},
        {"10000009", "3100100000099", "2", QStringLiteral("01/12/2553"), QStringLiteral("30/11/2558")},
        {"10000009", "3100100000099", "3", QStringLiteral("01/12/2558"), textBE(monthEnd)},
        {"10000012", "3100100000122", "2", QStringLiteral("01/09/2555"), textBE(monthEnd)},
    };
    for (const DemoPeriod& p : periods) {
        const QString sap = QLatin1String(p.sapId);
        const QString code = QLatin1String(p.code);
        if (w.exists(QStringLiteral("SELECT 1 FROM EP_Work_Histry WHERE SapID = ? AND Work_Type_Code = ? "
                                    "AND Work_B_Date = ?"),
                {sap, code, p.begin}))
            continue;
        const QString typeName = code == QLatin1String("2") ? types[0].second : types[1].second;
        w.insert(QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, "
                                "Work_E_Date) VALUES (?, ?, ?, ?, ?, ?)"),
            {sap, QLatin1String(p.ssn), code, typeName, p.begin, p.end});
    }

    // An earlier payment to the person of 20000002 under the old number 20000001,
    // claimed in 03/2013: 5 years 5 months 15 days, 6 months of 15,000.00.
    if (!w.exists(
            QStringLiteral("SELECT 1 FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {QStringLiteral("20000001")})) {
        w.insert(
            QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, "
                           "Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, "
                           "Emp_Surname, Emp_F_Name, Emp_L_Name, Fact_No_Date, Fact_Per_Cent, KV_No_Date, "
                           "KV_Per_Cent, His_Rec_Money, Net_Money_Recieve, Depart_Code, Depart_Name, Rec_Status, "
                           "Event_Out, Fact_Month_Weigth, Kv_Month_Weight) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {QStringLiteral("20000001"), QStringLiteral("3100100000066"), QStringLiteral("03/2013"),
                QStringLiteral("29/03/2556"), QStringLiteral("17/10/2550"), QStringLiteral("31/03/2556"), 1993, 5, 5,
                15, 15000.0, 6, QStringLiteral("นาย"), QStringLiteral("วิชัย"), QStringLiteral("ทองดี"), 0, 0.0, 1993,
                100.0, 0.0, 90000.0, QStringLiteral("01"), QStringLiteral("สำนักงานอธิการบดี"), QStringLiteral("FC"),
                QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"), 0.0, 65.48});
        w.insert(QStringLiteral("INSERT INTO EP_mRec_Money_Detail (SapID, Work_Type_Code, Date_B_cal, Date_E_Cal, "
                                "Sum_Day, Sum_Month, Sum_Month_Weight) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {QStringLiteral("20000001"), QStringLiteral("2"), QStringLiteral("17/10/2550"),
                QStringLiteral("31/03/2556"), 1993, 65, 65.48});
    }

    if (w.ok()) {
        QString userError;
        const bool present = userExists(db, QLatin1String(kDemoUser), &userError);
        if (!userError.isEmpty()) {
            if (error)
                *error = userError;
            return false;
        }
        // the demo login holds every role, so that every screen can be tried
        if (!present
            && (!addUserWithin(db, QLatin1String(kDemoUser), QLatin1String(kDemoPassword), QStringLiteral("ผู้ทดลอง"),
                    QStringLiteral("ระบบ"), error)
                || !storeUserRoles(db, QLatin1String(kDemoUser), allRoleNames(), error)))
            return false;
    }
    if (!w.ok()) {
        if (error)
            *error = w.error();
        return false;
    }
    return tx.commit(error);
}

} // namespace velmora::db
