#include "services/ImportJobs.h"

#include "files/CellText.h"
#include "files/ImportMessages.h"
#include "files/Workbook.h"

#include "db/Schema.h"

#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/AuditEvents.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <cstdio>
#include <memory>

namespace velmora::import {

namespace {

const int kFirstRow = 3; // data rows start at row 3 on every sheet

QString trimmed(const QString& text)
{
    // Trim_Spaces: blanks (code 32) only, tabs stay.
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString removeCommas(const QString& text)
{
    return QString::fromStdString(Remove_Commas(text.toStdString()));
}

// One sheet being read, for messages.
struct SheetReader
{
    const Worksheet& sheet;
    int index;
    QString* error;

    QString where(int row, int column) const { return msg::where(index, sheet.name, row, column); }

    bool text(int row, int column, QString* out) const
    {
        const Cell& c = sheet.cell(row, column);
        if (c.kind == Cell::Kind::Unreadable) {
            *error = msg::unreadable(where(row, column), c.text);
            return false;
        }
        if (c.kind == Cell::Kind::Error) {
            *error = msg::errorValue(where(row, column), c.text);
            return false;
        }
        *out = cellAsText(c);
        return true;
    }

    bool date(int row, int column, QString* out) const
    {
        const Cell& c = sheet.cell(row, column);
        if (c.kind == Cell::Kind::Error) {
            *error = msg::errorValue(where(row, column), c.text);
            return false;
        }
        QString why;
        const auto d = cellAsDateText(c, &why);
        if (!d) {
            *error = c.kind == Cell::Kind::Unreadable ? msg::unreadable(where(row, column), why)
                                                      : msg::notADate(where(row, column), cellAsText(c));
            return false;
        }
        *out = *d;
        return true;
    }

    // Salary: the cell as text, commas removed, to a number, shown as an amount.
    bool amount(int row, int column, QString* out) const
    {
        const Cell& c = sheet.cell(row, column);
        std::optional<double> value;
        if (c.kind == Cell::Kind::Number) {
            value = c.number;
        } else {
            QString shown;
            if (!text(row, column, &shown))
                return false;
            value = Parse_Number(removeCommas(trimmed(shown)).toStdString());
            if (!value) {
                *error = msg::notANumber(where(row, column), shown);
                return false;
            }
        }
        *out = QString::fromStdString(Amount_Text(*value));
        return true;
    }

    // Rows from row 3 to the first whose column A reads as empty text.
    template <typename FillRow>
    bool rows(GridRows* out, int columns, FillRow fill) const
    {
        out->clear();
        for (int row = kFirstRow;; ++row) {
            QString key;
            if (!text(row, 1, &key))
                return false;
            if (key.isEmpty())
                break;
            QStringList cells;
            cells.reserve(columns);
            cells << QString::number(row - kFirstRow + 1) << key;
            if (!fill(row, cells))
                return false;
            while (cells.size() < columns)
                cells << QString();
            out->push_back(std::move(cells));
        }
        if (out->empty()) // an empty sheet leaves one empty grid row
            out->push_back(QStringList(QList<QString>(columns)));
        return true;
    }
};

bool readSheet(Workbook& book, int index, Worksheet* sheet, QString* error)
{
    return book.readSheet(index, *sheet, error);
}

std::unique_ptr<Workbook> openWith(const QString& path, int sheetsWanted, QString* error)
{
    auto book = openWorkbook(path, error);
    if (!book)
        return nullptr;
    if (book->sheetCount() < sheetsWanted) {
        *error = msg::tooFewSheets(path, book->sheetCount(), sheetsWanted);
        return nullptr;
    }
    return book;
}

// "dd/mm/yyyy" to the day of the date-time column, year as in the text. An
// empty text is the servers' base date, 01/01/1900, written explicitly.
std::optional<QDate> dateTimeOf(const QString& text)
{
    if (text.isEmpty())
        return QDate(1900, 1, 1);
    if (text.size() < 10)
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    const int year = QStringView(text).mid(6, 4).toInt(&ok1);
    const int month = QStringView(text).mid(3, 2).toInt(&ok2);
    const int day = QStringView(text).mid(0, 2).toInt(&ok3);
    const QDate date(year, month, day);
    if (!ok1 || !ok2 || !ok3 || !date.isValid())
        return std::nullopt;
    return date;
}

struct Statement
{
    QSqlQuery query;
    QString purpose;
};

bool prepare(const db::Database& db, Statement* s, const QString& sql, const QString& purpose, QString* error)
{
    s->query = db.query();
    s->query.setForwardOnly(true);
    s->purpose = purpose;
    if (!s->query.prepare(sql)) {
        *error = msg::databaseFailure(purpose, db::describeError(s->query.lastError()));
        return false;
    }
    return true;
}

// Runs the statement with the values; for a search, tells whether a row came
// back and gives its first column.
bool run(const db::Database& db, Statement& s, const QVariantList& values, QString* error, bool* found = nullptr,
    QVariant* first = nullptr)
{
    for (int i = 0; i < values.size(); ++i)
        s.query.bindValue(i, values[i]);
    if (!db.exec(s.query, s.purpose, error))
        return false;
    if (found) {
        *found = s.query.next();
        if (*found && first)
            *first = s.query.value(0);
    }
    s.query.finish();
    return true;
}

// Runs a write; *affected tells how many rows it changed.
bool runWrite(const db::Database& db, Statement& s, const QVariantList& values, QString* error, int* affected)
{
    for (int i = 0; i < values.size(); ++i)
        s.query.bindValue(i, values[i]);
    if (!db.exec(s.query, s.purpose, error))
        return false;
    *affected = s.query.numRowsAffected();
    s.query.finish();
    return true;
}

// The code tables: search by code, update the name or insert the row.
bool saveCodeTable(const db::Database& db, const GridRows& rows, const QString& table, const QString& codeColumn,
    const QString& nameColumn, int sheet, const QString& sheetName, TableCounts* counts, QString* error,
    const Progress& progress)
{
    Statement find, update, insert;
    if (!prepare(db, &find, QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, codeColumn),
            QStringLiteral("ค้นหา %1").arg(table), error)
        || !prepare(db, &update, QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(table, nameColumn, codeColumn),
            QStringLiteral("แก้ไข %1").arg(table), error)
        || !prepare(db, &insert,
            QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(table, codeColumn, nameColumn),
            QStringLiteral("เพิ่ม %1").arg(table), error))
        return false;
    const int maximum = static_cast<int>(rows.size());
    for (int i = 0; i < maximum; ++i) {
        const QStringList& r = rows[static_cast<size_t>(i)];
        const QString code = trimmed(r.value(1));
        const QString name = trimmed(r.value(2));
        if (code.isEmpty()) {
            ++counts->skipped;
        } else {
            bool found = false;
            QString why;
            const bool ok = run(db, find, {code}, &why, &found)
                && (found ? run(db, update, {name, code}, &why) : run(db, insert, {code, name}, &why));
            if (!ok) {
                *error = msg::databaseFailure(msg::whereRow(sheet, sheetName, i + kFirstRow), why);
                return false;
            }
            ++(found ? counts->updated : counts->inserted);
        }
        if (progress)
            progress(i + 1, maximum);
    }
    return true;
}

// The counts of a save as the audit log keeps them.
QJsonObject auditCounts(const std::vector<std::pair<QString, TableCounts>>& tables)
{
    QJsonObject out;
    for (const auto& [name, c] : tables)
        out.insert(name,
            QJsonObject {{QStringLiteral("inserted"), c.inserted}, {QStringLiteral("updated"), c.updated},
                {QStringLiteral("left_alone"), c.leftAlone}, {QStringLiteral("skipped"), c.skipped}});
    return out;
}

// Servers whose text equality is exact (byte for byte), so that a search can
// be answered from a list of the keys read beforehand, and inserts can be sent
// many rows to a statement. Elsewhere each row is searched and written alone.
bool fastPath(const db::Database& db)
{
    return db.backend() == db::Backend::Sqlite || db.backend() == db::Backend::Postgres;
}

// A day at midnight as the driver should receive it for a date-time column,
// made without the time-zone database (a local date-time per value costs a
// look at the zone file each time). SQLite keeps the text its driver would
// make of a date-time; PostgreSQL reads its own timestamp text (the same
// instant a local date-time at midnight gave when server and program share
// their zone, and exactly midnight when they do not); the ODBC driver takes
// the date and time of the value as they are.
QVariant dateTimeValue(const db::Database& db, const QDate& d)
{
    char text[40];
    switch (db.backend()) {
    case db::Backend::Sqlite:
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT00:00:00.000", d.year(), d.month(), d.day());
        return QString::fromLatin1(text);
    case db::Backend::Postgres:
        std::snprintf(text, sizeof text, "%04d-%02d-%02d 00:00:00", d.year(), d.month(), d.day());
        return QString::fromLatin1(text);
    case db::Backend::SqlServer:
        break;
    }
    return QDateTime(d, QTime(0, 0), Qt::UTC);
}

// Inserts collected and sent `rowsPerStatement` rows at a time; one prepared
// statement for the full batches is reused.
class BatchInsert
{
public:
    BatchInsert(const db::Database& db, QString table, QStringList columns, int rowsPerStatement, QString purpose)
        : m_db(db)
        , m_table(std::move(table))
        , m_columns(std::move(columns))
        , m_rows(rowsPerStatement)
        , m_purpose(std::move(purpose))
    { }

    // Adds one row; *firstRow tells which workbook row a failed statement began with.
    bool add(const QVariantList& values, int workbookRow, QString* why, int* firstRow)
    {
        if (m_pending.isEmpty())
            m_firstRow = workbookRow;
        m_pending += values;
        if (m_pending.size() / m_columns.size() >= m_rows)
            return flush(why, firstRow);
        return true;
    }

    bool flush(QString* why, int* firstRow)
    {
        if (m_pending.isEmpty())
            return true;
        const int rows = static_cast<int>(m_pending.size() / m_columns.size());
        QSqlQuery* q = nullptr;
        if (rows == m_rows) {
            if (!m_full)
                m_full = prepareFor(rows, why);
            q = m_full.get();
        } else {
            m_last = prepareFor(rows, why);
            q = m_last.get();
        }
        *firstRow = m_firstRow;
        if (!q)
            return false;
        for (qsizetype i = 0; i < m_pending.size(); ++i)
            q->bindValue(static_cast<int>(i), m_pending[i]);
        if (!m_db.exec(*q, m_purpose, why))
            return false;
        q->finish();
        m_pending.clear();
        return true;
    }

private:
    std::unique_ptr<QSqlQuery> prepareFor(int rows, QString* why)
    {
        const QString one = QLatin1Char('(')
            + QStringList(QList<QString>(m_columns.size(), QStringLiteral("?"))).join(QLatin1Char(','))
            + QLatin1Char(')');
        const QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(m_table, m_columns.join(QStringLiteral(", ")))
            + QStringList(QList<QString>(rows, one)).join(QLatin1Char(','));
        auto q = std::make_unique<QSqlQuery>(m_db.query());
        if (!q->prepare(sql)) {
            *why = m_purpose + QStringLiteral(": ") + db::describeError(q->lastError());
            return nullptr;
        }
        return q;
    }

    const db::Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_rows;
    QString m_purpose;
    QVariantList m_pending;
    int m_firstRow = 0;
    std::unique_ptr<QSqlQuery> m_full;
    std::unique_ptr<QSqlQuery> m_last;
};

// Reads, for the given keys, the rows already stored: `select` names the key
// column first, then the columns wanted; keys go 500 to a statement.
bool readExisting(const db::Database& db, const QString& select, const QString& keyColumn, const QStringList& keys,
    const std::function<void(const QSqlQuery&)>& onRow, QString* why)
{
    const int chunk = 500;
    if (keys.isEmpty())
        return true;
    QSqlQuery q = db.query();
    q.setForwardOnly(true);
    const QString sql = select + QStringLiteral(" WHERE %1 IN (").arg(keyColumn)
        + QStringList(QList<QString>(chunk, QStringLiteral("?"))).join(QLatin1Char(',')) + QLatin1Char(')');
    if (!q.prepare(sql)) {
        *why = db::describeError(q.lastError());
        return false;
    }
    for (qsizetype from = 0; from < keys.size(); from += chunk) {
        for (int i = 0; i < chunk; ++i) // the last chunk repeats its last key
            q.bindValue(i, keys.at(std::min<qsizetype>(from + i, keys.size() - 1)));
        if (!db.exec(q, QStringLiteral("อ่านข้อมูลที่มีอยู่"), why))
            return false;
        while (q.next())
            onRow(q);
        q.finish();
    }
    return true;
}

} // namespace

const GridLayout& employeeGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("SapID "), QStringLiteral("เลขที่บัตรประชาชน "), QStringLiteral("คำนำหน้า"),
            QStringLiteral("ชื่อ"), QStringLiteral("นามสกุล"), QStringLiteral("วันเดือนปีเกิด"),
            QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"), QStringLiteral("รหัสประเภทการจ้าง"), QStringLiteral("วันที่สิ้นสุดสัญญา"),
            QStringLiteral("รหัสส่วนงาน(คณะ)"), QStringLiteral("อัตตราเงินเดือน"), QString(), QString()},
        {50, 90, 90, 100, 100, 100, 100, 100, 100, 120, 100, 100, 100, 120}};
    return layout;
}

const GridLayout& reasonGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("SapID "), QStringLiteral("เหตุแห่งการออก")}, {50, 90, 120}};
    return layout;
}

const GridLayout& typeGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("รหัสประเทภการจ้าง "), QStringLiteral("ชื่อประเภทการจ้าง")}, {50, 90, 120}};
    return layout;
}

const GridLayout& departGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("รหัสส่วนงาน "), QStringLiteral("ชื่อส่วนงาน(คณะ)")}, {50, 90, 120}};
    return layout;
}

const GridLayout& historyGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("SapID "), QStringLiteral("เลขที่บัตรประชาชน "),
            QStringLiteral("Work Type Code"), QStringLiteral("ชื่อประเภทการจ้าง"), QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"),
            QStringLiteral("วันที่สิ้นสุดสัญญา")},
        {50, 70, 80, 90, 120, 100, 100}};
    return layout;
}

bool loadEmployeeWorkbook(const QString& path, EmployeeWorkbook* out, QString* error)
{
    auto book = openWith(path, 4, error);
    if (!book)
        return false;
    EmployeeWorkbook result;
    Worksheet sheet;
    if (!readSheet(*book, 1, &sheet, error))
        return false;
    result.sheetNames << sheet.name;
    {
        const SheetReader in {sheet, 1, error};
        if (!in.text(1, 2, &result.dataMonth) || !in.text(1, 4, &result.dataYear))
            return false;
        const bool ok = in.rows(&result.employees, 14, [&](int row, QStringList& cells) {
            QString v[11];
            // B to E as text, F and G dates, H text, I date unless empty, J text, K salary.
            if (!in.text(row, 2, &v[0]) || !in.text(row, 3, &v[1]) || !in.text(row, 4, &v[2]) || !in.text(row, 5, &v[3])
                || !in.date(row, 6, &v[4]) || !in.date(row, 7, &v[5]) || !in.text(row, 8, &v[6])
                || !in.text(row, 9, &v[7]))
                return false;
            if (!v[7].isEmpty() && !in.date(row, 9, &v[7]))
                return false;
            if (!in.text(row, 10, &v[8]) || !in.amount(row, 11, &v[9]))
                return false;
            for (int i = 0; i < 10; ++i)
                cells << v[i];
            return true;
        });
        if (!ok)
            return false;
    }
    GridRows* targets[] = {&result.reasons, &result.types, &result.departs};
    for (int index = 2; index <= 4; ++index) {
        if (!readSheet(*book, index, &sheet, error))
            return false;
        result.sheetNames << sheet.name;
        const SheetReader in {sheet, index, error};
        const bool ok = in.rows(targets[index - 2], 3, [&](int row, QStringList& cells) {
            QString b;
            if (!in.text(row, 2, &b))
                return false;
            cells << b;
            return true;
        });
        if (!ok)
            return false;
    }
    result.sourcePath = path;
    result.sourceSha256 = audit::fileSha256(path);
    *out = std::move(result);
    return true;
}

bool loadHistoryWorkbook(const QString& path, HistoryWorkbook* out, QString* error)
{
    auto book = openWith(path, 1, error);
    if (!book)
        return false;
    HistoryWorkbook result;
    Worksheet sheet;
    if (!readSheet(*book, 1, &sheet, error))
        return false;
    result.sheetName = sheet.name;
    const SheetReader in {sheet, 1, error};
    const bool ok = in.rows(&result.periods, 7, [&](int row, QStringList& cells) {
        QString b, c, d, e, f;
        if (!in.text(row, 2, &b) || !in.text(row, 3, &c) || !in.text(row, 4, &d) || !in.date(row, 5, &e)
            || !in.date(row, 6, &f))
            return false;
        cells << b << c << d << e << f;
        return true;
    });
    if (!ok)
        return false;
    result.sourcePath = path;
    result.sourceSha256 = audit::fileSha256(path);
    *out = std::move(result);
    return true;
}

namespace {

struct ColumnRule
{
    int gridColumn; // also the workbook column
    const char* column; // in the table
    bool asShown; // written as the grid shows it, not trimmed
};

// The columns an update writes as the grid shows them (an insert trims them).
const ColumnRule kUpdatedAsShown[] = {
    {3, "Surname", true}, {4, "F_Name", true}, {5, "L_Name", true}, {9, "Work_End_Date_Text", true}};

// Every value a save would write, against the schema's lengths and the money
// range, before anything is written: the same refusal on every server (SQLite
// itself would store any of them).
bool checkRows(const GridRows& rows, int sheet, const QString& sheetName, const char* table,
    std::initializer_list<ColumnRule> rules, int salaryColumn, QString* error)
{
    std::vector<std::pair<ColumnRule, int>> limits; // each rule with its column's length
    for (const ColumnRule& rule : rules)
        limits.emplace_back(rule, db::textColumnLength(table, rule.column));
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList& r = rows[i];
        const int row = static_cast<int>(i) + kFirstRow;
        if (trimmed(r.value(1)).isEmpty())
            continue; // skipped by the save
        for (const auto& [rule, maximum] : limits) {
            const QString& shown = r.value(rule.gridColumn);
            if (maximum > 0 && shown.size() > maximum) { // else the trimmed text fits too
                const QString value = rule.asShown ? shown : trimmed(shown);
                if (value.size() > maximum) {
                    *error = msg::textTooLong(msg::where(sheet, sheetName, row, rule.gridColumn), value, maximum);
                    return false;
                }
            }
        }
        if (salaryColumn > 0) {
            const QString shown = r.value(salaryColumn);
            const auto salary = Parse_Number(Remove_Commas(trimmed(shown).toStdString()));
            if (salary && !(std::fabs(*salary) < db::kMoneyLimit)) {
                *error = msg::amountNotStorable(msg::where(sheet, sheetName, row, salaryColumn), shown);
                return false;
            }
        }
    }
    return true;
}

bool checkEmployeeBook(const EmployeeWorkbook& book, QString* error)
{
    return checkRows(book.employees, 1, book.sheetNames.value(0), "EP_Emp_Main",
               {{1, "SapID", false}, {2, "SSN", false}, {3, "Surname", false}, {4, "F_Name", false},
                   {5, "L_Name", false}, {6, "Emp_BirthDay", false}, {7, "Work_Begin_Date_Text", false},
                   {8, "Work_Type_Code", false}, {9, "Work_End_Date_Text", false}, {10, "Depart_Code", false}},
               11, error)
        && checkRows(book.reasons, 2, book.sheetNames.value(1), "EP_Reason_out",
            {{1, "SapID", false}, {2, "Event_out", false}}, 0, error)
        && checkRows(book.types, 3, book.sheetNames.value(2), "EP_TR_Work_Type",
            {{1, "Work_Type_Code", false}, {2, "Work_Type", false}}, 0, error)
        && checkRows(book.departs, 4, book.sheetNames.value(3), "EP_TR_Depart",
            {{1, "Depart_Code", false}, {2, "Dapart_Name", false}}, 0, error);
}

bool checkHistoryBook(const HistoryWorkbook& book, QString* error)
{
    return checkRows(book.periods, 1, book.sheetName, "EP_Work_Histry",
        {{1, "SapID", false}, {2, "SSN", false}, {3, "Work_Type_Code", false}, {4, "Work_Type", false},
            {5, "Work_B_Date", false}, {6, "Work_E_Date", false}},
        0, error);
}

// An employee as stored: the status and the ten columns an update writes,
// in the order of the update. The dates come back as the server's text, which
// is the text the save binds (SQLite keeps what it was given; PostgreSQL shows
// a timestamp as "yyyy-mm-dd hh:mm:ss").
struct StoredRow
{
    QString status;
    QVariantList values;
};

// True when a bound value reaches the server as NULL: the drivers send a null
// text (a grid cell never filled) as NULL.
bool bindsNull(const QVariant& v)
{
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isNull());
}

// Values written, in the form a read would give them back (NULL as a null value).
QVariantList asStored(QVariantList values)
{
    for (QVariant& v : values) {
        if (bindsNull(v))
            v = QVariant(QMetaType::fromType<QString>());
    }
    return values;
}

// True when the stored columns hold exactly what an update would write, so
// the update would change nothing: NULL where it would write NULL, else the
// same text; `money` names a column compared as a number (-1 for none).
bool sameValues(const QVariantList& stored, const QVariantList& written, qsizetype money = -1)
{
    if (stored.size() != written.size())
        return false;
    for (qsizetype c = 0; c < written.size(); ++c) {
        const QVariant& a = stored[c];
        const QVariant& b = written[c];
        if (a.isNull() || bindsNull(b)) {
            if (a.isNull() && bindsNull(b))
                continue;
            return false;
        }
        if (c == money) {
            bool ok = false;
            if (a.toDouble(&ok) != b.toDouble() || !ok)
                return false;
        } else if (a.toString() != b.toString()) {
            return false;
        }
    }
    return true;
}

// One attempt at saving the employee workbook. `fast` answers the searches
// from keys read beforehand and sends inserts in batches; when such an attempt
// fails in the database, the save is run again row by row (after the rollback)
// so that the message can name the row at fault.
bool saveEmployeesOnce(const db::Database& db, const EmployeeWorkbook& book, EmployeeSaveCounts* counts, QString* error,
    const Progress& progress, bool fast, bool* databaseFault)
{
    *counts = EmployeeSaveCounts();
    *databaseFault = false;
    db::Transaction transaction(db);
    if (!transaction.active()) {
        *error = transaction.error();
        return false;
    }
    audit::RowSnapshot before = audit::employeeSnapshot();
    if (!before.read(db, audit::gridSapids(book.employees), error))
        return false;
    const QString sheet1 = book.sheetNames.value(0);
    Statement find, update;
    if ((!fast
            && !prepare(db, &find, QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"),
                QStringLiteral("ค้นหาพนักงาน"), error))
        || !prepare(db, &update,
            QStringLiteral("UPDATE EP_Emp_Main SET Surname = ?, F_Name = ?, L_Name = ?, Work_Begin_Date = ?, "
                           "Work_Begin_Date_Text = ?, Work_Type_Code = ?, Work_End_Date = ?, "
                           "Work_End_Date_Text = ?, Depart_Code = ?, Money_Rate = ? "
                           "WHERE SapID = ? AND Emp_RecMChod_Status = ?"),
            QStringLiteral("แก้ไขข้อมูลพนักงาน"), error)) {
        *databaseFault = true;
        return false;
    }
    BatchInsert insert(db, QStringLiteral("EP_Emp_Main"),
        {QStringLiteral("SapID"), QStringLiteral("SSN"), QStringLiteral("Surname"), QStringLiteral("F_Name"),
            QStringLiteral("L_Name"), QStringLiteral("Emp_BirthDay"), QStringLiteral("Work_Begin_Date"),
            QStringLiteral("Work_Begin_Date_Text"), QStringLiteral("Work_Type_Code"), QStringLiteral("Work_End_Date"),
            QStringLiteral("Work_End_Date_Text"), QStringLiteral("Depart_Code"), QStringLiteral("Money_Rate"),
            QStringLiteral("Emp_RecMChod_Status")},
        fast ? 100 : 1, QStringLiteral("เพิ่มข้อมูลพนักงาน"));

    // Every employee of the sheet already stored (fast path): the status and
    // the columns an update writes, the dates as the server's text.
    QHash<QString, StoredRow> stored;
    if (fast) {
        QStringList keys;
        keys.reserve(static_cast<qsizetype>(book.employees.size()));
        for (const QStringList& r : book.employees) {
            const QString key = trimmed(r.value(1));
            if (!key.isEmpty())
                keys << key;
        }
        QString why;
        if (!readExisting(
                db,
                QStringLiteral("SELECT SapID, Emp_RecMChod_Status, Surname, F_Name, L_Name, "
                               "CAST(Work_Begin_Date AS VARCHAR(40)), Work_Begin_Date_Text, Work_Type_Code, "
                               "CAST(Work_End_Date AS VARCHAR(40)), Work_End_Date_Text, Depart_Code, Money_Rate "
                               "FROM EP_Emp_Main"),
                QStringLiteral("SapID"), keys,
                [&](const QSqlQuery& q) {
                    StoredRow& row = stored[q.value(0).toString()];
                    row.status = q.value(1).toString();
                    row.values.reserve(10);
                    for (int c = 2; c < 12; ++c)
                        row.values << q.value(c);
                },
                &why)) {
            *error = msg::databaseFailure(QStringLiteral("ค้นหาพนักงาน"), why);
            *databaseFault = true;
            return false;
        }
    }

    const int maximum = static_cast<int>(book.employees.size());
    const QString statusA = QStringLiteral("A");
    for (int i = 0; i < maximum; ++i) {
        const QStringList& r = book.employees[static_cast<size_t>(i)];
        const int row = i + kFirstRow;
        auto col = [&](int c) { return r.value(c); };
        const QString sapId = trimmed(col(1));
        if (sapId.isEmpty()) {
            ++counts->employees.skipped;
            if (progress)
                progress(i + 1, maximum);
            continue;
        }
        const QString begin = trimmed(col(7));
        const QString end = trimmed(col(9));
        const auto beginValue = dateTimeOf(begin);
        if (!beginValue) {
            *error = msg::dateNotStorable(msg::where(1, sheet1, row, 7), begin);
            return false;
        }
        const auto endValue = dateTimeOf(end);
        if (!endValue) {
            *error = msg::dateNotStorable(msg::where(1, sheet1, row, 9), end);
            return false;
        }
        const auto salary = Parse_Number(Remove_Commas(trimmed(col(11)).toStdString()));
        if (!salary) {
            *error = msg::notANumber(msg::where(1, sheet1, row, 11), col(11));
            return false;
        }
        bool found = false;
        QString status;
        QString why;
        int failedRow = row;
        bool ok = true;
        const StoredRow* known = nullptr;
        if (fast) {
            const auto it = stored.constFind(sapId);
            found = it != stored.constEnd();
            if (found) {
                status = it->status;
                known = &*it;
            }
        } else {
            QVariant value;
            ok = run(db, find, {sapId}, &why, &found, &value);
            status = value.toString();
        }
        // What an update writes: title, names and the end-date text as the
        // grid shows them.
        const QVariantList written = {col(3), col(4), col(5), dateTimeValue(db, *beginValue), begin, trimmed(col(8)),
            dateTimeValue(db, *endValue), col(9), trimmed(col(10)), *salary};
        if (ok && found && status == statusA && known && sameValues(known->values, written, 9)) {
            ++counts->employees.unchanged;
        } else if (ok && found) {
            if (status == statusA) {
                for (const ColumnRule& rule : kUpdatedAsShown) {
                    const QString shown = col(rule.gridColumn);
                    const int maximum = db::textColumnLength("EP_Emp_Main", rule.column);
                    if (maximum > 0 && shown.size() > maximum) {
                        *error = msg::textTooLong(msg::where(1, sheet1, row, rule.gridColumn), shown, maximum);
                        return false;
                    }
                }
                // The row may still wait in the insert batch: send that first.
                ok = insert.flush(&why, &failedRow);
                // The status is checked again in the write itself: a calculation
                // saved since it was read leaves the employee as it is.
                int affected = 0;
                if (ok) {
                    failedRow = row;
                    ok = runWrite(db, update, written + QVariantList {sapId, statusA}, &why, &affected);
                }
                ++(affected > 0 ? counts->employees.updated : counts->employees.leftAlone);
                if (fast && affected > 0)
                    stored[sapId] = {statusA, asStored(written)};
            } else {
                ++counts->employees.leftAlone;
            }
        } else if (ok) {
            ok = insert.add({sapId, trimmed(col(2)), trimmed(col(3)), trimmed(col(4)), trimmed(col(5)), trimmed(col(6)),
                                dateTimeValue(db, *beginValue), begin, trimmed(col(8)), dateTimeValue(db, *endValue),
                                end, trimmed(col(10)), *salary, statusA},
                row, &why, &failedRow);
            if (fast) {
                // an insert trims the names and the end-date text
                QVariantList values = written;
                for (int c : {0, 1, 2, 7})
                    values[c] = trimmed(values[c].toString());
                stored.insert(sapId, {statusA, asStored(values)});
            }
            ++counts->employees.inserted;
        }
        if (!ok) {
            *error = msg::databaseFailure(msg::whereRow(1, sheet1, failedRow), why);
            *databaseFault = true;
            return false;
        }
        if (progress)
            progress(i + 1, maximum);
    }
    {
        QString why;
        int failedRow = 0;
        if (!insert.flush(&why, &failedRow)) {
            *error = msg::databaseFailure(msg::whereRow(1, sheet1, failedRow), why);
            *databaseFault = true;
            return false;
        }
    }

    // Reasons for leaving: one per employee.
    {
        Statement findReason, updateReason, insertReason;
        if (!prepare(db, &findReason, QStringLiteral("SELECT 1 FROM EP_Reason_out WHERE SapID = ?"),
                QStringLiteral("ค้นหาเหตุแห่งการออก"), error)
            || !prepare(db, &updateReason, QStringLiteral("UPDATE EP_Reason_out SET Event_out = ? WHERE SapID = ?"),
                QStringLiteral("แก้ไขเหตุแห่งการออก"), error)
            || !prepare(db, &insertReason, QStringLiteral("INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)"),
                QStringLiteral("เพิ่มเหตุแห่งการออก"), error)) {
            *databaseFault = true;
            return false;
        }
        const QString sheet2 = book.sheetNames.value(1);
        const int rows = static_cast<int>(book.reasons.size());
        // Fast path: the stored reasons of the sheet's employees read first,
        // new ones inserted in batches, unchanged ones not written.
        QHash<QString, QVariant> storedReasons;
        BatchInsert insertReasons(db, QStringLiteral("EP_Reason_out"),
            {QStringLiteral("SapID"), QStringLiteral("Event_out")}, 200, QStringLiteral("เพิ่มเหตุแห่งการออก"));
        if (fast) {
            QStringList keys;
            for (const QStringList& r : book.reasons) {
                const QString key = trimmed(r.value(1));
                if (!key.isEmpty())
                    keys << key;
            }
            QString why;
            if (!readExisting(
                    db, QStringLiteral("SELECT SapID, Event_out FROM EP_Reason_out"), QStringLiteral("SapID"), keys,
                    [&](const QSqlQuery& q) { storedReasons.insert(q.value(0).toString(), q.value(1)); }, &why)) {
                *error = msg::databaseFailure(QStringLiteral("ค้นหาเหตุแห่งการออก"), why);
                *databaseFault = true;
                return false;
            }
        }
        for (int i = 0; i < rows; ++i) {
            const QStringList& r = book.reasons[static_cast<size_t>(i)];
            const QString sapId = trimmed(r.value(1));
            const QString reason = trimmed(r.value(2));
            const int row = i + kFirstRow;
            if (sapId.isEmpty()) {
                ++counts->reasons.skipped;
            } else {
                bool found = false;
                QString why;
                int failedRow = row;
                bool ok = true;
                if (fast) {
                    const auto it = storedReasons.constFind(sapId);
                    found = it != storedReasons.constEnd();
                    if (found && sameValues({*it}, {reason})) {
                        ++counts->reasons.unchanged;
                    } else if (found) {
                        ok = insertReasons.flush(&why, &failedRow);
                        if (ok) {
                            failedRow = row;
                            ok = run(db, updateReason, {reason, sapId}, &why);
                        }
                        ++counts->reasons.updated;
                    } else {
                        ok = insertReasons.add({sapId, reason}, row, &why, &failedRow);
                        ++counts->reasons.inserted;
                    }
                    storedReasons[sapId] = asStored({reason}).value(0);
                } else {
                    ok = run(db, findReason, {sapId}, &why, &found)
                        && (found ? run(db, updateReason, {reason, sapId}, &why)
                                  : run(db, insertReason, {sapId, reason}, &why));
                    ++(found ? counts->reasons.updated : counts->reasons.inserted);
                }
                if (!ok) {
                    *error = msg::databaseFailure(msg::whereRow(2, sheet2, failedRow), why);
                    *databaseFault = true;
                    return false;
                }
            }
            if (progress)
                progress(i + 1, rows);
        }
        QString why;
        int failedRow = 0;
        if (!insertReasons.flush(&why, &failedRow)) {
            *error = msg::databaseFailure(msg::whereRow(2, sheet2, failedRow), why);
            *databaseFault = true;
            return false;
        }
    }
    if (!saveCodeTable(db, book.types, QStringLiteral("EP_TR_Work_Type"), QStringLiteral("Work_Type_Code"),
            QStringLiteral("Work_Type"), 3, book.sheetNames.value(2), &counts->types, error, progress)
        || !saveCodeTable(db, book.departs, QStringLiteral("EP_TR_Depart"), QStringLiteral("Depart_Code"),
            QStringLiteral("Dapart_Name"), 4, book.sheetNames.value(3), &counts->departs, error, progress)) {
        *databaseFault = true;
        return false;
    }

    if (!audit::recordImport(db, QLatin1String(audit::kind::kImportEmployees), book.sourcePath, book.sourceSha256,
            auditCounts({{QStringLiteral("employees"), counts->employees}, {QStringLiteral("reasons"), counts->reasons},
                {QStringLiteral("types"), counts->types}, {QStringLiteral("departs"), counts->departs}}),
            before, error))
        return false;

    QString why;
    if (!transaction.commit(&why)) {
        *error = msg::databaseFailure(QStringLiteral("ยืนยันการบันทึก"), why);
        return false;
    }
    return true;
}

bool saveHistoryOnce(const db::Database& db, const HistoryWorkbook& book, TableCounts* counts, QString* error,
    const Progress& progress, bool fast, bool* databaseFault)
{
    *counts = TableCounts();
    *databaseFault = false;
    db::Transaction transaction(db);
    if (!transaction.active()) {
        *error = transaction.error();
        return false;
    }
    audit::RowSnapshot before = audit::historySnapshot();
    if (!before.read(db, audit::gridSapids(book.periods), error))
        return false;
    Statement find, update;
    if ((!fast
            && !prepare(db, &find,
                QStringLiteral("SELECT 1 FROM EP_Work_Histry WHERE SapID = ? AND Work_Type_Code = ? "
                               "AND Work_B_Date = ?"),
                QStringLiteral("ค้นหาประวัติการจ้าง"), error))
        || !prepare(db, &update,
            QStringLiteral("UPDATE EP_Work_Histry SET SSN = ?, Work_Type_Code = ?, Work_Type = ?, "
                           "Work_B_Date = ?, Work_E_Date = ? "
                           "WHERE SapID = ? AND Work_Type_Code = ? AND Work_B_Date = ?"),
            QStringLiteral("แก้ไขประวัติการจ้าง"), error)) {
        *databaseFault = true;
        return false;
    }
    BatchInsert insert(db, QStringLiteral("EP_Work_Histry"),
        {QStringLiteral("SapID"), QStringLiteral("SSN"), QStringLiteral("Work_Type_Code"), QStringLiteral("Work_Type"),
            QStringLiteral("Work_B_Date"), QStringLiteral("Work_E_Date")},
        fast ? 200 : 1, QStringLiteral("เพิ่มประวัติการจ้าง"));
    // A period is known by employee number, type code and first day.
    auto periodKey = [](const QString& a, const QString& b, const QString& c) {
        return a + QChar(0x1F) + b + QChar(0x1F) + c;
    };
    // Stored periods of the sheet's employees: SSN, type name and last day.
    QHash<QString, QVariantList> stored;
    if (fast) {
        QSet<QString> seen;
        QStringList keys;
        for (const QStringList& r : book.periods) {
            const QString key = trimmed(r.value(1));
            if (!key.isEmpty() && !seen.contains(key)) {
                seen.insert(key);
                keys << key;
            }
        }
        QString why;
        if (!readExisting(
                db,
                QStringLiteral(
                    "SELECT SapID, Work_Type_Code, Work_B_Date, SSN, Work_Type, Work_E_Date FROM EP_Work_Histry"),
                QStringLiteral("SapID"), keys,
                [&](const QSqlQuery& q) {
                    const QVariantList values = {q.value(3), q.value(4), q.value(5)};
                    stored.insert(
                        periodKey(q.value(0).toString(), q.value(1).toString(), q.value(2).toString()), values);
                },
                &why)) {
            *error = msg::databaseFailure(QStringLiteral("ค้นหาประวัติการจ้าง"), why);
            *databaseFault = true;
            return false;
        }
    }
    const int maximum = static_cast<int>(book.periods.size());
    for (int i = 0; i < maximum; ++i) {
        const QStringList& r = book.periods[static_cast<size_t>(i)];
        const int row = i + kFirstRow;
        const QString sapId = trimmed(r.value(1));
        if (sapId.isEmpty()) {
            ++counts->skipped;
            if (progress)
                progress(i + 1, maximum);
            continue;
        }
        const QString ssn = trimmed(r.value(2));
        const QString code = trimmed(r.value(3));
        const QString typeName = trimmed(r.value(4));
        const QString begin = trimmed(r.value(5));
        const QString end = trimmed(r.value(6));
        bool found = false;
        QString why;
        int failedRow = row;
        bool ok = true;
        const QString key = fast ? periodKey(sapId, code, begin) : QString();
        const QVariantList values = {ssn, typeName, end};
        const QVariantList* known = nullptr;
        if (fast) {
            const auto it = stored.constFind(key);
            found = it != stored.constEnd();
            if (found)
                known = &*it;
        } else {
            ok = run(db, find, {sapId, code, begin}, &why, &found);
        }
        if (ok && found && known && sameValues(*known, values)) {
            ++counts->unchanged;
        } else if (ok && found) {
            ok = insert.flush(&why, &failedRow);
            if (ok) {
                failedRow = row;
                ok = run(db, update, {ssn, code, typeName, begin, end, sapId, code, begin}, &why);
            }
            if (fast)
                stored[key] = asStored(values);
            ++counts->updated;
        } else if (ok) {
            ok = insert.add({sapId, ssn, code, typeName, begin, end}, row, &why, &failedRow);
            if (fast)
                stored.insert(key, asStored(values));
            ++counts->inserted;
        }
        if (!ok) {
            *error = msg::databaseFailure(msg::whereRow(1, book.sheetName, failedRow), why);
            *databaseFault = true;
            return false;
        }
        if (progress)
            progress(i + 1, maximum);
    }
    QString why;
    int failedRow = 0;
    if (!insert.flush(&why, &failedRow)) {
        *error = msg::databaseFailure(msg::whereRow(1, book.sheetName, failedRow), why);
        *databaseFault = true;
        return false;
    }
    if (!audit::recordImport(db, QLatin1String(audit::kind::kImportHistory), book.sourcePath, book.sourceSha256,
            auditCounts({{QStringLiteral("periods"), *counts}}), before, error))
        return false;
    if (!transaction.commit(&why)) {
        *error = msg::databaseFailure(QStringLiteral("ยืนยันการบันทึก"), why);
        return false;
    }
    return true;
}

} // namespace

bool saveEmployeeWorkbook(const db::Database& db, const EmployeeWorkbook& book, EmployeeSaveCounts* counts,
    QString* error, const Progress& progress)
{
    if (!checkEmployeeBook(book, error))
        return false;
    bool databaseFault = false;
    const bool fast = fastPath(db);
    if (saveEmployeesOnce(db, book, counts, error, progress, fast, &databaseFault))
        return true;
    if (!fast || !databaseFault)
        return false;
    // Nothing was kept; once more row by row, so the message names the row.
    // A retry that fails without reaching a row (the server is gone) keeps
    // the first attempt's reason.
    QString retryError;
    if (saveEmployeesOnce(db, book, counts, &retryError, progress, false, &databaseFault))
        return true;
    if (databaseFault)
        *error = retryError;
    return false;
}

bool saveHistoryWorkbook(
    const db::Database& db, const HistoryWorkbook& book, TableCounts* counts, QString* error, const Progress& progress)
{
    if (!checkHistoryBook(book, error))
        return false;
    bool databaseFault = false;
    const bool fast = fastPath(db);
    if (saveHistoryOnce(db, book, counts, error, progress, fast, &databaseFault))
        return true;
    if (!fast || !databaseFault)
        return false;
    QString retryError;
    if (saveHistoryOnce(db, book, counts, &retryError, progress, false, &databaseFault))
        return true;
    if (databaseFault)
        *error = retryError;
    return false;
}

QStringList describeCounts(const TableCounts& c)
{
    QStringList out;
    out << QStringLiteral("เพิ่ม %1 รายการ").arg(c.inserted) << QStringLiteral("แก้ไข %1 รายการ").arg(c.updated);
    if (c.unchanged)
        out << QStringLiteral("ข้อมูลเดิมไม่เปลี่ยนแปลง %1 รายการ").arg(c.unchanged);
    if (c.leftAlone)
        out << QStringLiteral("ไม่เปลี่ยนแปลง (ประมวลผลเงินชดเชยแล้ว) %1 รายการ").arg(c.leftAlone);
    if (c.skipped)
        out << QStringLiteral("ข้ามแถวที่ไม่มีรหัส %1 แถว").arg(c.skipped);
    return {out.join(QStringLiteral(", "))};
}

QStringList describeCounts(const EmployeeSaveCounts& c)
{
    return {QStringLiteral("พนักงาน: ") + describeCounts(c.employees).join(QString()),
        QStringLiteral("เหตุแห่งการออก: ") + describeCounts(c.reasons).join(QString()),
        QStringLiteral("ประเภทการจ้าง: ") + describeCounts(c.types).join(QString()),
        QStringLiteral("ส่วนงาน: ") + describeCounts(c.departs).join(QString())};
}

QString savedMessage()
{
    return QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว");
}

bool hasData(const GridRows& rows)
{
    for (const QStringList& row : rows)
        for (qsizetype c = 1; c < row.size(); ++c)
            if (!row.at(c).trimmed().isEmpty())
                return true;
    return false;
}

QString nothingToSaveMessage()
{
    return QStringLiteral("ยังไม่มีข้อมูลที่จะบันทึก กรุณาเลือกไฟล์และโหลดข้อมูลก่อน");
}

} // namespace velmora::import
