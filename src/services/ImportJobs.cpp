#include "services/ImportJobs.h"

#include "files/CellText.h"
#include "files/ImportMessages.h"
#include "files/Workbook.h"

#include "db/BatchInsert.h"
#include "db/Prepared.h"
#include "db/Schema.h"

#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/AuditEvents.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
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

// One row of a sheet being read, for messages: `cells` are the row's cells
// (none for a row the sheet does not store).
struct SheetReader
{
    const std::vector<Cell>* cells;
    int index;
    const QString& sheetName;
    QString* error;

    const Cell& cell(int column) const
    {
        static const Cell empty;
        const auto i = static_cast<size_t>(column - 1);
        return cells && i < cells->size() ? (*cells)[i] : empty;
    }

    QString where(int row, int column) const { return msg::where(index, sheetName, row, column); }

    bool text(int row, int column, QString* out) const
    {
        const Cell& c = cell(column);
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
        const Cell& c = cell(column);
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
        const Cell& c = cell(column);
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
};

// The grid row of one sheet: how many columns, and how the cells after
// column A are read (the running number and column A come first).
struct SheetShape
{
    int columns;
    bool (*fill)(const SheetReader& in, int row, QStringList& cells);
};

bool fillEmployee(const SheetReader& in, int row, QStringList& cells)
{
    QString v[11];
    // B to E as text, F and G dates, H text, I date unless empty, J text, K salary.
    if (!in.text(row, 2, &v[0]) || !in.text(row, 3, &v[1]) || !in.text(row, 4, &v[2]) || !in.text(row, 5, &v[3])
        || !in.date(row, 6, &v[4]) || !in.date(row, 7, &v[5]) || !in.text(row, 8, &v[6]) || !in.text(row, 9, &v[7]))
        return false;
    if (!v[7].isEmpty() && !in.date(row, 9, &v[7]))
        return false;
    if (!in.text(row, 10, &v[8]) || !in.amount(row, 11, &v[9]))
        return false;
    for (int i = 0; i < 10; ++i)
        cells << v[i];
    return true;
}

bool fillCode(const SheetReader& in, int row, QStringList& cells)
{
    QString b;
    if (!in.text(row, 2, &b))
        return false;
    cells << b;
    return true;
}

bool fillPeriod(const SheetReader& in, int row, QStringList& cells)
{
    QString b, c, d, e, f;
    if (!in.text(row, 2, &b) || !in.text(row, 3, &c) || !in.text(row, 4, &d) || !in.date(row, 5, &e)
        || !in.date(row, 6, &f))
        return false;
    cells << b << c << d << e << f;
    return true;
}

const SheetShape kEmployeeShape {14, fillEmployee};
const SheetShape kCodeShape {3, fillCode};
const SheetShape kPeriodShape {7, fillPeriod};

// Sheet 1 of the employee workbook: B1 and D1 (month and year of the data).
bool readDataMonth(const SheetReader& in, QString* month, QString* year)
{
    return in.text(1, 2, month) && in.text(1, 4, year);
}

// The grid row of workbook row `row` (from 3); *end when its column A reads
// as empty text, which ends the sheet's data.
bool gridRow(const SheetReader& in, int row, const SheetShape& shape, QStringList* out, bool* end)
{
    QString key;
    if (!in.text(row, 1, &key))
        return false;
    *end = key.isEmpty();
    if (*end)
        return true;
    QStringList cells;
    cells.reserve(shape.columns);
    cells << QString::number(row - kFirstRow + 1) << key;
    if (!shape.fill(in, row, cells))
        return false;
    while (cells.size() < shape.columns)
        cells << QString();
    *out = std::move(cells);
    return true;
}

// The grid of a sheet read whole: rows from row 3 to the first whose column A
// reads as empty text; an empty sheet leaves one empty grid row.
bool gridOf(const Worksheet& sheet, int index, const SheetShape& shape, GridRows* out, QString* error)
{
    out->clear();
    for (int row = kFirstRow;; ++row) {
        const std::vector<Cell>* cells = row <= sheet.rowCount() ? &sheet.rows[static_cast<size_t>(row - 1)] : nullptr;
        const SheetReader in {cells, index, sheet.name, error};
        QStringList grid;
        bool end = false;
        if (!gridRow(in, row, shape, &grid, &end))
            return false;
        if (end)
            break;
        out->push_back(std::move(grid));
    }
    if (out->empty())
        out->push_back(QStringList(QList<QString>(shape.columns)));
    return true;
}

// Takes grid rows one at a time; false stops (the taker has set the error).
using RowTaker = std::function<bool(const QStringList& cells)>;

enum class Streamed { Done, Failed, Unordered };

// The grid rows of sheet `index` handed to `take` as the sheet is read, the
// same rows gridOf makes, without keeping the sheet. The rest of the sheet
// after the data is read too, so that a damaged part is refused as a whole
// read refuses it. A sheet storing a row number twice or out of order needs
// the whole read (its later cells go over the earlier ones): Unordered.
// `top` sees rows 1 and 2.
Streamed streamGrid(Workbook& book, int index, const SheetShape& shape, QString* sheetName,
    const std::function<bool(const SheetReader&, int row)>& top, const RowTaker& take, QString* error)
{
    int last = 0;
    int expected = kFirstRow;
    bool ended = false, unordered = false, any = false;
    QStringList grid;
    const bool ok = book.readRows(
        index, sheetName,
        [&](int row, std::vector<Cell>& cells, QString* why) {
            if (row <= last) {
                unordered = true;
                return false;
            }
            last = row;
            if (ended)
                return true;
            const SheetReader in {&cells, index, *sheetName, why};
            if (row < kFirstRow)
                return !top || top(in, row);
            if (row > expected) { // the rows between are empty: the data ended
                ended = true;
                return true;
            }
            bool end = false;
            if (!gridRow(in, row, shape, &grid, &end))
                return false;
            if (end) {
                ended = true;
                return true;
            }
            ++expected;
            any = true;
            return take(grid);
        },
        error);
    if (unordered)
        return Streamed::Unordered;
    if (!ok)
        return Streamed::Failed;
    if (!any && !take(QStringList(QList<QString>(shape.columns))))
        return Streamed::Failed;
    return Streamed::Done;
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
    db::Prepared query;
    QString purpose;
};

bool prepare(const db::Database& db, Statement* s, const QString& sql, const QString& purpose, QString* error)
{
    s->purpose = purpose;
    QString why;
    if (!s->query.prepare(db, sql, &why)) {
        *error = msg::databaseFailure(purpose, why);
        return false;
    }
    return true;
}

// Runs the statement with the values; for a search, tells whether a row came
// back and gives its columns.
bool run(Statement& s, const QVariantList& values, QString* error, bool* found = nullptr, QVariantList* columns = nullptr,
    int columnCount = 0)
{
    s.query.bindAll(values);
    if (!s.query.exec(s.purpose, error))
        return false;
    if (found) {
        *found = s.query.next();
        if (*found && columns) {
            columns->clear();
            for (int c = 0; c < columnCount; ++c)
                *columns << s.query.value(c);
        }
    }
    s.query.finish();
    return true;
}

// Runs a write; *affected tells how many rows it changed.
bool runWrite(Statement& s, const QVariantList& values, QString* error, int* affected)
{
    s.query.bindAll(values);
    if (!s.query.exec(s.purpose, error))
        return false;
    *affected = s.query.rowsAffected();
    s.query.finish();
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
    if (db.backend() == db::Backend::SqlServer)
        return QDateTime(d, QTime(0, 0), Qt::UTC);
    // "yyyy-mm-ddT00:00:00.000" (SQLite) or "yyyy-mm-dd 00:00:00" (PostgreSQL)
    const bool sqlite = db.backend() == db::Backend::Sqlite;
    if (d.year() < 1 || d.year() > 9999) // never from a checked date text; written as printf would
        return QString::asprintf(sqlite ? "%04d-%02d-%02dT00:00:00.000" : "%04d-%02d-%02d 00:00:00", d.year(),
            d.month(), d.day());
    QString text = sqlite ? QStringLiteral("0000-00-00T00:00:00.000") : QStringLiteral("0000-00-00 00:00:00");
    QChar* c = text.data();
    auto put = [&](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            c[at + i] = QLatin1Char(char('0' + value % 10));
    };
    put(0, d.year(), 4);
    put(5, d.month(), 2);
    put(8, d.day(), 2);
    return text;
}

// The rows already stored for some keys: `select` names the key column first,
// then the columns wanted; 500 keys to a run. On PostgreSQL the statement is
// prepared afresh for each run: the server would otherwise keep the plan it
// chose for the first runs of an import, made while the table was still
// empty (a scan of the whole table), and scan the growing table for every
// later run. And within the import's transaction the server is told that
// reading by an index costs little more than reading in order (as on any
// solid-state disk or cached table): with its default for spinning disks it
// scans all 50,000 employees for each 500 keys, three times slower than
// their 500 index entries (measured 10.5 ms against 3.9 ms a run). SQLite
// plans by the index whatever the table holds.
class StoredReader
{
public:
    static constexpr int kKeys = 500;

    bool prepare(const db::Database& db, const QString& select, const QString& keyColumn, QString* why)
    {
        m_sql = select + QStringLiteral(" WHERE %1 IN (").arg(keyColumn)
            + QStringList(QList<QString>(kKeys, QStringLiteral("?"))).join(QLatin1Char(',')) + QLatin1Char(')');
        if (db.backend() == db::Backend::Postgres) {
            QSqlQuery q = db.query();
            if (!q.exec(QStringLiteral("SET LOCAL random_page_cost = 1.1"))) {
                *why = db.failureOf(q);
                return false;
            }
        }
        return prepared(db, why);
    }

    bool read(const db::Database& db, const QStringList& keys, const std::function<void(const db::Prepared&)>& onRow,
        QString* why)
    {
        const QString purpose = QStringLiteral("อ่านข้อมูลที่มีอยู่");
        for (qsizetype from = 0; from < keys.size(); from += kKeys) {
            if (db.backend() == db::Backend::Postgres && !prepared(db, why))
                return false;
            for (int i = 0; i < kKeys; ++i) // the last run repeats its last key
                m_query.bind(i, keys.at(std::min<qsizetype>(from + i, keys.size() - 1)));
            if (!m_query.exec(purpose, why))
                return false;
            while (m_query.next())
                onRow(m_query);
            const QString failure = m_query.failure();
            m_query.finish();
            if (!failure.isEmpty()) {
                *why = purpose + QStringLiteral(": ") + failure;
                return false;
            }
        }
        return true;
    }

private:
    bool prepared(const db::Database& db, QString* why) { return m_query.prepare(db, m_sql, why); }

    QString m_sql;
    db::Prepared m_query;
};

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
    if (!book->readSheet(1, sheet, error))
        return false;
    result.sheetNames << sheet.name;
    {
        const std::vector<Cell>* top = sheet.rowCount() >= 1 ? &sheet.rows.front() : nullptr;
        if (!readDataMonth({top, 1, sheet.name, error}, &result.dataMonth, &result.dataYear)
            || !gridOf(sheet, 1, kEmployeeShape, &result.employees, error))
            return false;
    }
    GridRows* targets[] = {&result.reasons, &result.types, &result.departs};
    for (int index = 2; index <= 4; ++index) {
        if (!book->readSheet(index, sheet, error))
            return false;
        result.sheetNames << sheet.name;
        if (!gridOf(sheet, index, kCodeShape, targets[index - 2], error))
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
    if (!book->readSheet(1, sheet, error))
        return false;
    result.sheetName = sheet.name;
    if (!gridOf(sheet, 1, kPeriodShape, &result.periods, error))
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
// range, before the row is written: the same refusal on every server (SQLite
// itself would store any of them).
class RowCheck
{
public:
    RowCheck(const char* table, std::initializer_list<ColumnRule> rules, int salaryColumn = 0)
        : m_salaryColumn(salaryColumn)
    {
        for (const ColumnRule& rule : rules)
            m_limits.emplace_back(rule, db::textColumnLength(table, rule.column));
    }

    bool check(const QStringList& r, int sheet, const QString& sheetName, int row, QString* error) const
    {
        for (const auto& [rule, maximum] : m_limits) {
            const QString& shown = r.at(rule.gridColumn);
            if (maximum > 0 && shown.size() > maximum) { // else the trimmed text fits too
                const QString value = rule.asShown ? shown : trimmed(shown);
                if (value.size() > maximum) {
                    *error = msg::textTooLong(msg::where(sheet, sheetName, row, rule.gridColumn), value, maximum);
                    return false;
                }
            }
        }
        if (m_salaryColumn > 0) {
            const QString& shown = r.at(m_salaryColumn);
            const auto salary = Parse_Number(Remove_Commas(trimmed(shown).toStdString()));
            if (salary && !(std::fabs(*salary) < db::kMoneyLimit)) {
                *error = msg::amountNotStorable(msg::where(sheet, sheetName, row, m_salaryColumn), shown);
                return false;
            }
        }
        return true;
    }

private:
    std::vector<std::pair<ColumnRule, int>> m_limits; // each rule with its column's length
    int m_salaryColumn;
};

// An employee as stored: the status and the ten columns an update writes,
// in the order of the update. The dates come back as the server's text, which
// is the text the save binds (SQLite keeps what it was given; PostgreSQL shows
// a timestamp as "yyyy-mm-dd hh:mm:ss").
struct StoredRow
{
    QString status;
    QVariantList values;
};

const QString kStoredEmployeeColumns = QStringLiteral(
    "Emp_RecMChod_Status, Surname, F_Name, L_Name, CAST(Work_Begin_Date AS VARCHAR(40)), Work_Begin_Date_Text, "
    "Work_Type_Code, CAST(Work_End_Date AS VARCHAR(40)), Work_End_Date_Text, Depart_Code, Money_Rate");

// The columns of an employee the audit log names when an import changes them,
// with their places among the values an update writes.
const std::pair<int, const char*> kLoggedEmployeeColumns[] = {{0, "Surname"}, {1, "F_Name"}, {2, "L_Name"},
    {4, "Work_Begin_Date_Text"}, {5, "Work_Type_Code"}, {7, "Work_End_Date_Text"}, {8, "Depart_Code"},
    {9, "Money_Rate"}};
const int kMoneyValue = 9;

using db::bindsNull;

// A value as the audit log shows it: NULL as "", money with two decimals.
QString loggedText(const QVariant& v, bool money)
{
    if (bindsNull(v))
        return {};
    return money ? QString::number(v.toDouble(), 'f', 2) : v.toString();
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

// One sheet saved as its grid rows come, a chunk at a time: on the fast path
// the stored rows of a chunk's keys are read together before its rows are
// written, so that nothing grows with the sheet.
class SheetSave
{
public:
    static constexpr size_t kChunk = StoredReader::kKeys;

    SheetSave(const db::Database& db, int sheet, const QString& sheetName, bool fast, RowCheck check, int maximum,
        const Progress& progress, QString* error, bool* databaseFault)
        : m_db(db)
        , m_sheet(sheet)
        , m_sheetName(sheetName)
        , m_fast(fast)
        , m_check(std::move(check))
        , m_maximum(maximum)
        , m_progress(progress)
        , m_error(error)
        , m_databaseFault(databaseFault)
    { }
    virtual ~SheetSave() = default;
    SheetSave(const SheetSave&) = delete;
    SheetSave& operator=(const SheetSave&) = delete;

    bool take(const QStringList& r)
    {
        m_chunk.push_back(r);
        return m_chunk.size() < kChunk || drain();
    }
    bool finish() { return drain() && flushInserts(); }

    TableCounts counts;

protected:
    // Fast path: reads the stored rows of the chunk's keys (the inserts
    // waiting, which those keys may repeat, are sent before).
    virtual bool readStored(const std::vector<QStringList>& chunk) = 0;
    // A row with a key (column 1, blanks trimmed) whose values passed the check.
    virtual bool saveRow(const QStringList& r, int row, const QString& key) = 0;

    // Sends the rows waiting in the sheet's batch insert, if it has one.
    bool flushInserts()
    {
        QString why;
        int failedRow = 0;
        return !m_batch || m_batch->flush(&why, &failedRow) || failInDatabase(whereRow(failedRow), why);
    }

    // Prepares the search for stored rows: on the fast path `select` (key
    // column first) read by chunks of keys, else `findOne` row by row.
    bool prepareSearch(const QString& select, const QString& findOne, const QString& purpose, QString* error)
    {
        QString why;
        if (m_fast && !m_reader.prepare(m_db, select, QStringLiteral("SapID"), &why)) {
            *error = msg::databaseFailure(purpose, why);
            return false;
        }
        return m_fast || prepare(m_db, &m_find, findOne, purpose, error);
    }

    bool fail(const QString& message)
    {
        *m_error = message;
        return false;
    }
    bool failInDatabase(const QString& where, const QString& why)
    {
        *m_error = msg::databaseFailure(where, why);
        *m_databaseFault = true;
        return false;
    }
    QString whereRow(int row) const { return msg::whereRow(m_sheet, m_sheetName, row); }
    QString where(int row, int column) const { return msg::where(m_sheet, m_sheetName, row, column); }
    static QStringList keysOf(const std::vector<QStringList>& chunk)
    {
        QStringList keys;
        QSet<QString> seen;
        keys.reserve(static_cast<qsizetype>(chunk.size()));
        for (const QStringList& r : chunk) {
            const QString key = trimmed(r.at(1));
            if (!key.isEmpty() && !seen.contains(key)) {
                seen.insert(key);
                keys << key;
            }
        }
        return keys;
    }

    const db::Database& m_db;
    const int m_sheet;
    const QString& m_sheetName;
    const bool m_fast;
    const RowCheck m_check;
    db::BatchInsert* m_batch = nullptr; // set by a sheet that inserts in batches
    Statement m_find; // row by row
    StoredReader m_reader; // fast path

private:
    bool drain()
    {
        if (m_chunk.empty())
            return true;
        if (m_fast && (!flushInserts() || !readStored(m_chunk)))
            return false;
        for (const QStringList& r : m_chunk) {
            const int row = kFirstRow + m_done;
            const QString key = trimmed(r.at(1));
            if (key.isEmpty())
                ++counts.skipped; // a row without a key is not saved
            else if (!m_check.check(r, m_sheet, m_sheetName, row, m_error) || !saveRow(r, row, key))
                return false;
            ++m_done;
            if (m_progress)
                m_progress(m_done, m_maximum);
        }
        m_chunk.clear();
        return true;
    }

    const int m_maximum;
    const Progress& m_progress;
    QString* m_error;
    bool* m_databaseFault;
    std::vector<QStringList> m_chunk;
    int m_done = 0;
};

class EmployeeSave final : public SheetSave
{
public:
    EmployeeSave(const db::Database& db, const QString& sheetName, bool fast, int maximum, const Progress& progress,
        QString* error, bool* databaseFault, audit::ImportChanges* changes)
        : SheetSave(db, 1, sheetName, fast,
            RowCheck("EP_Emp_Main",
                {{1, "SapID", false}, {2, "SSN", false}, {3, "Surname", false}, {4, "F_Name", false},
                    {5, "L_Name", false}, {6, "Emp_BirthDay", false}, {7, "Work_Begin_Date_Text", false},
                    {8, "Work_Type_Code", false}, {9, "Work_End_Date_Text", false}, {10, "Depart_Code", false}},
                11),
            maximum, progress, error, databaseFault)
        , m_changes(changes)
        , m_insert(db, QStringLiteral("EP_Emp_Main"),
              {QStringLiteral("SapID"), QStringLiteral("SSN"), QStringLiteral("Surname"), QStringLiteral("F_Name"),
                  QStringLiteral("L_Name"), QStringLiteral("Emp_BirthDay"), QStringLiteral("Work_Begin_Date"),
                  QStringLiteral("Work_Begin_Date_Text"), QStringLiteral("Work_Type_Code"),
                  QStringLiteral("Work_End_Date"), QStringLiteral("Work_End_Date_Text"),
                  QStringLiteral("Depart_Code"), QStringLiteral("Money_Rate"), QStringLiteral("Emp_RecMChod_Status")},
              fast ? 100 : 1, QStringLiteral("เพิ่มข้อมูลพนักงาน"))
    {
        m_batch = &m_insert;
    }

    bool prepareStatements(QString* error)
    {
        return prepareSearch(QStringLiteral("SELECT SapID, %1 FROM EP_Emp_Main").arg(kStoredEmployeeColumns),
                   QStringLiteral("SELECT %1 FROM EP_Emp_Main WHERE SapID = ?").arg(kStoredEmployeeColumns),
                   QStringLiteral("ค้นหาพนักงาน"), error)
            && prepare(m_db, &m_update,
                QStringLiteral("UPDATE EP_Emp_Main SET Surname = ?, F_Name = ?, L_Name = ?, Work_Begin_Date = ?, "
                               "Work_Begin_Date_Text = ?, Work_Type_Code = ?, Work_End_Date = ?, "
                               "Work_End_Date_Text = ?, Depart_Code = ?, Money_Rate = ? "
                               "WHERE SapID = ? AND Emp_RecMChod_Status = ?"),
                QStringLiteral("แก้ไขข้อมูลพนักงาน"), error);
    }

private:
    bool readStored(const std::vector<QStringList>& chunk) override
    {
        m_stored.clear();
        m_insertedHere.clear();
        QString why;
        const bool ok = m_reader.read(
            m_db, keysOf(chunk),
            [&](const db::Prepared& q) {
                StoredRow& row = m_stored[q.value(0).toString()];
                row.status = q.value(1).toString();
                row.values.clear();
                row.values.reserve(10);
                for (int c = 2; c < 12; ++c)
                    row.values << q.value(c);
            },
            &why);
        return ok || failInDatabase(QStringLiteral("ค้นหาพนักงาน"), why);
    }

    bool saveRow(const QStringList& r, int row, const QString& sapId) override
    {
        const QString begin = trimmed(r.at(7));
        const QString end = trimmed(r.at(9));
        const auto beginValue = dateTimeOf(begin);
        if (!beginValue)
            return fail(msg::dateNotStorable(where(row, 7), begin));
        const auto endValue = dateTimeOf(end);
        if (!endValue)
            return fail(msg::dateNotStorable(where(row, 9), end));
        const auto salary = Parse_Number(Remove_Commas(trimmed(r.at(11)).toStdString()));
        if (!salary)
            return fail(msg::notANumber(where(row, 11), r.at(11)));
        bool found = false;
        QString status;
        QString why;
        const StoredRow* known = nullptr;
        StoredRow searched;
        if (m_fast) {
            const auto it = m_stored.constFind(sapId);
            found = it != m_stored.constEnd();
            if (found)
                known = &*it;
        } else {
            QVariantList columns;
            if (!run(m_find, {sapId}, &why, &found, &columns, 11))
                return failInDatabase(whereRow(row), why);
            if (found) {
                searched.status = columns.value(0).toString();
                searched.values = columns.mid(1);
                known = &searched;
            }
        }
        if (known)
            status = known->status;
        const QString statusA = QStringLiteral("A");
        // What an update writes: title, names and the end-date text as the
        // grid shows them.
        const QVariantList written = {r.at(3), r.at(4), r.at(5), dateTimeValue(m_db, *beginValue), begin,
            trimmed(r.at(8)), dateTimeValue(m_db, *endValue), r.at(9), trimmed(r.at(10)), *salary};
        if (found && status == statusA && m_fast && sameValues(known->values, written, kMoneyValue)) {
            ++counts.unchanged;
        } else if (found) {
            if (status != statusA) {
                ++counts.leftAlone;
                return true;
            }
            for (const ColumnRule& rule : kUpdatedAsShown) {
                const QString& shown = r.at(rule.gridColumn);
                const int maximum = db::textColumnLength("EP_Emp_Main", rule.column);
                if (maximum > 0 && shown.size() > maximum)
                    return fail(msg::textTooLong(where(row, rule.gridColumn), shown, maximum));
            }
            // The row may still wait in the insert batch: send that first.
            if (!flushInserts())
                return false;
            // The status is checked again in the write itself: a calculation
            // saved since it was read leaves the employee as it is.
            int affected = 0;
            if (!runWrite(m_update, written + QVariantList {sapId, statusA}, &why, &affected))
                return failInDatabase(whereRow(row), why);
            if (affected > 0) {
                ++counts.updated;
                if (!m_insertedHere.contains(sapId))
                    noteChange(sapId, known->values, written);
                if (m_fast)
                    m_stored[sapId] = {statusA, asStored(written)};
            } else {
                ++counts.leftAlone;
            }
        } else {
            int failedRow = row;
            if (!m_insert.add({sapId, trimmed(r.at(2)), trimmed(r.at(3)), trimmed(r.at(4)), trimmed(r.at(5)),
                                  trimmed(r.at(6)), dateTimeValue(m_db, *beginValue), begin, trimmed(r.at(8)),
                                  dateTimeValue(m_db, *endValue), end, trimmed(r.at(10)), *salary, statusA},
                    row, &why, &failedRow))
                return failInDatabase(whereRow(failedRow), why);
            if (m_fast) {
                // an insert trims the names and the end-date text
                QVariantList values = written;
                for (int c : {0, 1, 2, 7})
                    values[c] = trimmed(values[c].toString());
                m_stored.insert(sapId, {statusA, asStored(values)});
            }
            m_insertedHere.insert(sapId);
            ++counts.inserted;
        }
        return true;
    }

    // The logged columns whose texts the write changes (money compared by
    // its two-decimal text, written only when the amounts differ).
    void noteChange(const QString& sapId, const QVariantList& old, const QVariantList& now)
    {
        std::vector<audit::ImportChanges::ColumnChange> changed;
        int logged = 0;
        for (const auto& [place, column] : kLoggedEmployeeColumns) {
            const QVariant a = old.value(place);
            const QVariant b = now.value(place);
            const bool money = place == kMoneyValue;
            if (!money || bindsNull(a) || bindsNull(b) || a.toDouble() != b.toDouble()) {
                QString before = loggedText(a, money);
                QString after = loggedText(b, money);
                if (before != after)
                    changed.push_back({logged, std::move(before), std::move(after)});
            }
            ++logged;
        }
        m_changes->note({sapId}, std::move(changed));
    }

    audit::ImportChanges* m_changes;
    db::BatchInsert m_insert;
    Statement m_update;
    QHash<QString, StoredRow> m_stored; // the keys of the chunk, and those written since
    // Employees this import inserted (on the fast path, within the chunk):
    // not stored before it, so the log names no change of theirs.
    QSet<QString> m_insertedHere;
};

audit::ImportChanges employeeChanges()
{
    QStringList columns;
    for (const auto& [place, column] : kLoggedEmployeeColumns)
        columns << QLatin1String(column);
    return audit::ImportChanges({QStringLiteral("SapID")}, columns);
}

// Reasons for leaving: one per employee.
class ReasonSave final : public SheetSave
{
public:
    ReasonSave(const db::Database& db, const QString& sheetName, bool fast, int maximum, const Progress& progress,
        QString* error, bool* databaseFault)
        : SheetSave(db, 2, sheetName, fast, RowCheck("EP_Reason_out", {{1, "SapID", false}, {2, "Event_out", false}}),
            maximum, progress, error, databaseFault)
        , m_insert(db, QStringLiteral("EP_Reason_out"), {QStringLiteral("SapID"), QStringLiteral("Event_out")},
              fast ? 200 : 1, QStringLiteral("เพิ่มเหตุแห่งการออก"))
    {
        m_batch = &m_insert;
    }

    bool prepareStatements(QString* error)
    {
        return prepareSearch(QStringLiteral("SELECT SapID, Event_out FROM EP_Reason_out"),
                   QStringLiteral("SELECT 1 FROM EP_Reason_out WHERE SapID = ?"), QStringLiteral("ค้นหาเหตุแห่งการออก"),
                   error)
            && prepare(m_db, &m_update, QStringLiteral("UPDATE EP_Reason_out SET Event_out = ? WHERE SapID = ?"),
                QStringLiteral("แก้ไขเหตุแห่งการออก"), error);
    }

private:
    bool readStored(const std::vector<QStringList>& chunk) override
    {
        m_stored.clear();
        QString why;
        return m_reader.read(
                   m_db, keysOf(chunk),
                   [&](const db::Prepared& q) { m_stored.insert(q.value(0).toString(), q.value(1)); }, &why)
            || failInDatabase(QStringLiteral("ค้นหาเหตุแห่งการออก"), why);
    }

    bool saveRow(const QStringList& r, int row, const QString& sapId) override
    {
        const QString reason = trimmed(r.at(2));
        QString why;
        if (!m_fast) {
            bool found = false;
            int failedRow = row; // one row to an insert here: it runs at once
            const bool ok = run(m_find, {sapId}, &why, &found)
                && (found ? run(m_update, {reason, sapId}, &why)
                          : m_insert.add({sapId, reason}, row, &why, &failedRow));
            if (!ok)
                return failInDatabase(whereRow(row), why);
            ++(found ? counts.updated : counts.inserted);
            return true;
        }
        const auto it = m_stored.constFind(sapId);
        const bool found = it != m_stored.constEnd();
        if (found && sameValues({*it}, {reason})) {
            ++counts.unchanged;
            return true;
        }
        if (found) {
            if (!flushInserts())
                return false;
            if (!run(m_update, {reason, sapId}, &why))
                return failInDatabase(whereRow(row), why);
            ++counts.updated;
        } else {
            int failedRow = row;
            if (!m_insert.add({sapId, reason}, row, &why, &failedRow))
                return failInDatabase(whereRow(failedRow), why);
            ++counts.inserted;
        }
        m_stored[sapId] = asStored({reason}).value(0);
        return true;
    }

    db::BatchInsert m_insert;
    Statement m_update;
    QHash<QString, QVariant> m_stored;
};

// The code tables: search by code, update the name or insert the row, one
// row at a time (a handful of rows).
class CodeTableSave final : public SheetSave
{
public:
    CodeTableSave(const db::Database& db, int sheet, const QString& sheetName, const char* table,
        const char* codeColumn, const char* nameColumn, int maximum, const Progress& progress, QString* error,
        bool* databaseFault)
        : SheetSave(db, sheet, sheetName, false,
            RowCheck(table, {{1, codeColumn, false}, {2, nameColumn, false}}), maximum, progress, error,
            databaseFault)
        , m_table(QLatin1String(table))
        , m_code(QLatin1String(codeColumn))
        , m_name(QLatin1String(nameColumn))
    { }

    bool prepareStatements(QString* error)
    {
        return prepare(m_db, &m_find, QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(m_table, m_code),
                   QStringLiteral("ค้นหา %1").arg(m_table), error)
            && prepare(m_db, &m_update, QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(m_table, m_name, m_code),
                QStringLiteral("แก้ไข %1").arg(m_table), error)
            && prepare(m_db, &m_insert,
                QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(m_table, m_code, m_name),
                QStringLiteral("เพิ่ม %1").arg(m_table), error);
    }

private:
    bool readStored(const std::vector<QStringList>&) override { return true; }

    bool saveRow(const QStringList& r, int row, const QString& code) override
    {
        const QString name = trimmed(r.at(2));
        bool found = false;
        QString why;
        const bool ok = run(m_find, {code}, &why, &found)
            && (found ? run(m_update, {name, code}, &why) : run(m_insert, {code, name}, &why));
        if (!ok)
            return failInDatabase(whereRow(row), why);
        ++(found ? counts.updated : counts.inserted);
        return true;
    }

    QString m_table, m_code, m_name;
    Statement m_find, m_update, m_insert;
};

// Periods of employment, each known by employee number, type code and first day.
class HistorySave final : public SheetSave
{
public:
    HistorySave(const db::Database& db, const QString& sheetName, bool fast, int maximum, const Progress& progress,
        QString* error, bool* databaseFault, audit::ImportChanges* changes)
        : SheetSave(db, 1, sheetName, fast,
            RowCheck("EP_Work_Histry",
                {{1, "SapID", false}, {2, "SSN", false}, {3, "Work_Type_Code", false}, {4, "Work_Type", false},
                    {5, "Work_B_Date", false}, {6, "Work_E_Date", false}}),
            maximum, progress, error, databaseFault)
        , m_changes(changes)
        , m_insert(db, QStringLiteral("EP_Work_Histry"),
              {QStringLiteral("SapID"), QStringLiteral("SSN"), QStringLiteral("Work_Type_Code"),
                  QStringLiteral("Work_Type"), QStringLiteral("Work_B_Date"), QStringLiteral("Work_E_Date")},
              fast ? 200 : 1, QStringLiteral("เพิ่มประวัติการจ้าง"))
    {
        m_batch = &m_insert;
    }

    bool prepareStatements(QString* error)
    {
        return prepareSearch(
                   QStringLiteral(
                       "SELECT SapID, Work_Type_Code, Work_B_Date, SSN, Work_Type, Work_E_Date FROM EP_Work_Histry"),
                   QStringLiteral("SELECT SSN, Work_Type, Work_E_Date FROM EP_Work_Histry WHERE SapID = ? "
                                  "AND Work_Type_Code = ? AND Work_B_Date = ?"),
                   QStringLiteral("ค้นหาประวัติการจ้าง"), error)
            && prepare(m_db, &m_update,
                QStringLiteral("UPDATE EP_Work_Histry SET SSN = ?, Work_Type_Code = ?, Work_Type = ?, "
                               "Work_B_Date = ?, Work_E_Date = ? "
                               "WHERE SapID = ? AND Work_Type_Code = ? AND Work_B_Date = ?"),
                QStringLiteral("แก้ไขประวัติการจ้าง"), error);
    }

private:
    static QString periodKey(const QString& a, const QString& b, const QString& c)
    {
        return a + QChar(0x1F) + b + QChar(0x1F) + c;
    }

    // The stored periods of the chunk's employees: SSN, type name and last day.
    bool readStored(const std::vector<QStringList>& chunk) override
    {
        m_stored.clear();
        m_insertedHere.clear();
        QString why;
        return m_reader.read(
                   m_db, keysOf(chunk),
                   [&](const db::Prepared& q) {
                       m_stored.insert(periodKey(q.value(0).toString(), q.value(1).toString(), q.value(2).toString()),
                           {q.value(3), q.value(4), q.value(5)});
                   },
                   &why)
            || failInDatabase(QStringLiteral("ค้นหาประวัติการจ้าง"), why);
    }

    bool saveRow(const QStringList& r, int row, const QString& sapId) override
    {
        const QString ssn = trimmed(r.at(2));
        const QString code = trimmed(r.at(3));
        const QString typeName = trimmed(r.at(4));
        const QString begin = trimmed(r.at(5));
        const QString end = trimmed(r.at(6));
        const QVariantList values = {ssn, typeName, end};
        QString why;
        bool found = false;
        QVariantList known;
        const QString key = m_fast ? periodKey(sapId, code, begin) : QString();
        if (m_fast) {
            const auto it = m_stored.constFind(key);
            found = it != m_stored.constEnd();
            if (found)
                known = *it;
        } else if (!run(m_find, {sapId, code, begin}, &why, &found, &known, 3)) {
            return failInDatabase(whereRow(row), why);
        }
        if (found && m_fast && sameValues(known, values)) {
            ++counts.unchanged;
        } else if (found) {
            if (!flushInserts())
                return false;
            if (!run(m_update, {ssn, code, typeName, begin, end, sapId, code, begin}, &why))
                return failInDatabase(whereRow(row), why);
            QStringList before, after;
            for (qsizetype c = 0; c < values.size(); ++c) {
                before << loggedText(known.value(c), false);
                after << loggedText(values.at(c), false);
            }
            if (!m_insertedHere.contains(periodKey(sapId, code, begin)))
                m_changes->note({sapId, code, begin}, before, after);
            if (m_fast)
                m_stored[key] = asStored(values);
            ++counts.updated;
        } else {
            int failedRow = row;
            if (!m_insert.add({sapId, ssn, code, typeName, begin, end}, row, &why, &failedRow))
                return failInDatabase(whereRow(failedRow), why);
            if (m_fast)
                m_stored.insert(key, asStored(values));
            m_insertedHere.insert(periodKey(sapId, code, begin));
            ++counts.inserted;
        }
        return true;
    }

    audit::ImportChanges* m_changes;
    db::BatchInsert m_insert;
    Statement m_update;
    QHash<QString, QVariantList> m_stored; // the periods of the chunk's employees, and those written since
    // Periods this import inserted (on the fast path, within the chunk): not
    // stored before it, so the log names no change of theirs.
    QSet<QString> m_insertedHere;
};

// Where a save takes the grid rows of each sheet from: the grids of a loaded
// workbook, or the workbook itself, read as its rows are saved.
struct RowSource
{
    // Hands the rows of sheet `sheet` (from 1) to `take`; *name is set first.
    // A failure of reading is told in *error.
    std::function<Streamed(int sheet, QString* name, const RowTaker& take, QString* error)> rows;
    // The rows of a sheet as the progress counts them (0 when not known).
    std::function<int(int sheet)> count;
    // Where a failure of reading is reported.
    QString* readError = nullptr;
    // The rows are read on a thread of their own while the save runs on this
    // one (a workbook read from its file; loaded grids are at hand already).
    bool reading = false;
};

RowSource gridSource(const std::vector<const GridRows*>& grids, const QStringList& names)
{
    return {[grids, names](int sheet, QString* name, const RowTaker& take, QString*) {
                *name = names.value(sheet - 1);
                for (const QStringList& r : *grids.at(static_cast<size_t>(sheet - 1))) {
                    if (!take(r))
                        return Streamed::Failed;
                }
                return Streamed::Done;
            },
        [grids](int sheet) { return static_cast<int>(grids.at(static_cast<size_t>(sheet - 1))->size()); }};
}

// Hands a sheet's rows to a save; false when reading or saving failed (the
// message is set) or when the sheet must be read whole (*unordered).
// Rows handed from the thread reading a workbook to the thread saving them,
// in reading order, a few hundred at a time; at most kHeld rows wait.
class RowQueue
{
public:
    static constexpr size_t kBatch = 256;
    static constexpr size_t kHeld = 8 * kBatch;

    // False when the saving side wants no more rows.
    bool push(std::vector<QStringList>& batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_rows.size() < kHeld || m_halted; });
        if (m_halted)
            return false;
        for (QStringList& r : batch)
            m_rows.push_back(std::move(r));
        batch.clear();
        m_changed.notify_all();
        return true;
    }
    // Reading ended (the rows pushed are all there are).
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }
    // Saving ended early: the reading side stops at its next push.
    void halt()
    {
        std::lock_guard lock(m_mutex);
        m_halted = true;
        m_changed.notify_all();
    }
    // The rows waiting, or false once reading ended and all were taken.
    bool take(std::vector<QStringList>& out)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_rows.empty() || m_closed; });
        if (m_rows.empty())
            return false;
        out.assign(std::make_move_iterator(m_rows.begin()), std::make_move_iterator(m_rows.end()));
        m_rows.clear();
        m_changed.notify_all();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QStringList> m_rows;
    bool m_closed = false;
    bool m_halted = false;
};

// Hands a sheet's rows to a save. A workbook read from its file is read on a
// thread of its own while this one saves: the messages stay those of the
// rows in reading order (a row the save refuses comes before a later fault
// of reading; a fault of reading is told once every row before it is saved).
bool feed(const RowSource& source, int sheet, QString* name, SheetSave& save, bool* unordered)
{
    Streamed result = Streamed::Failed;
    QString readError;
    bool saved = true;
    if (!source.reading) {
        result = source.rows(sheet, name, [&](const QStringList& r) { return saved = save.take(r); }, &readError);
    } else {
        RowQueue queue;
        std::thread reader([&] {
            std::vector<QStringList> batch;
            batch.reserve(RowQueue::kBatch);
            result = source.rows(
                sheet, name,
                [&](const QStringList& r) {
                    batch.push_back(r);
                    return batch.size() < RowQueue::kBatch || queue.push(batch);
                },
                &readError);
            if (!batch.empty())
                queue.push(batch);
            queue.close();
        });
        std::vector<QStringList> rows;
        while (saved && queue.take(rows)) {
            for (const QStringList& r : rows) {
                if (!save.take(r)) {
                    saved = false;
                    break;
                }
            }
        }
        if (!saved)
            queue.halt();
        reader.join();
    }
    if (!saved)
        return false; // the save's message
    if (result == Streamed::Unordered) {
        *unordered = true;
        return false;
    }
    if (result == Streamed::Failed) {
        if (source.readError)
            *source.readError = readError;
        return false;
    }
    return save.finish();
}

// One attempt at saving the employee workbook. `fast` answers the searches
// from keys read beforehand and sends inserts in batches; when such an attempt
// fails in the database, the save is run again row by row (after the rollback)
// so that the message can name the row at fault.
bool saveEmployeesOnce(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    EmployeeSaveCounts* counts, QString* error, const Progress& progress, bool fast, bool* databaseFault,
    bool* unordered)
{
    *counts = EmployeeSaveCounts();
    *databaseFault = false;
    db::Transaction transaction(db);
    if (!transaction.active()) {
        *error = transaction.error();
        return false;
    }
    audit::ImportChanges changes = employeeChanges();
    QString names[4];
    EmployeeSave employees(db, names[0], fast, source.count(1), progress, error, databaseFault, &changes);
    ReasonSave reasons(db, names[1], fast, source.count(2), progress, error, databaseFault);
    CodeTableSave types(db, 3, names[2], "EP_TR_Work_Type", "Work_Type_Code", "Work_Type", source.count(3),
        progress, error, databaseFault);
    CodeTableSave departs(db, 4, names[3], "EP_TR_Depart", "Depart_Code", "Dapart_Name", source.count(4), progress,
        error, databaseFault);
    if (!employees.prepareStatements(error) || !reasons.prepareStatements(error) || !types.prepareStatements(error)
        || !departs.prepareStatements(error)) {
        *databaseFault = true;
        return false;
    }
    SheetSave* sheets[] = {&employees, &reasons, &types, &departs};
    for (int sheet = 1; sheet <= 4; ++sheet) {
        if (!feed(source, sheet, &names[sheet - 1], *sheets[sheet - 1], unordered))
            return false;
    }
    counts->employees = employees.counts;
    counts->reasons = reasons.counts;
    counts->types = types.counts;
    counts->departs = departs.counts;
    if (!audit::recordImport(db, QLatin1String(audit::kind::kImportEmployees), path, sha256,
            auditCounts({{QStringLiteral("employees"), counts->employees}, {QStringLiteral("reasons"), counts->reasons},
                {QStringLiteral("types"), counts->types}, {QStringLiteral("departs"), counts->departs}}),
            changes, error))
        return false;
    QString why;
    if (!transaction.commit(&why)) {
        *error = msg::databaseFailure(QStringLiteral("ยืนยันการบันทึก"), why);
        return false;
    }
    return true;
}

bool saveHistoryOnce(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    TableCounts* counts, QString* error, const Progress& progress, bool fast, bool* databaseFault, bool* unordered)
{
    *counts = TableCounts();
    *databaseFault = false;
    db::Transaction transaction(db);
    if (!transaction.active()) {
        *error = transaction.error();
        return false;
    }
    audit::ImportChanges changes({QStringLiteral("SapID"), QStringLiteral("Work_Type_Code"), QStringLiteral("Work_B_Date")},
        {QStringLiteral("SSN"), QStringLiteral("Work_Type"), QStringLiteral("Work_E_Date")});
    QString name;
    HistorySave periods(db, name, fast, source.count(1), progress, error, databaseFault, &changes);
    if (!periods.prepareStatements(error)) {
        *databaseFault = true;
        return false;
    }
    if (!feed(source, 1, &name, periods, unordered))
        return false;
    *counts = periods.counts;
    if (!audit::recordImport(db, QLatin1String(audit::kind::kImportHistory), path, sha256,
            auditCounts({{QStringLiteral("periods"), *counts}}), changes, error))
        return false;
    QString why;
    if (!transaction.commit(&why)) {
        *error = msg::databaseFailure(QStringLiteral("ยืนยันการบันทึก"), why);
        return false;
    }
    return true;
}

// A save with its row-by-row replay: `once` is one attempt (fast or not).
// Nothing of a failed attempt was kept; a retry that fails without reaching a
// row (the server is gone) keeps the first attempt's reason.
template <typename Once>
bool saveWithReplay(const db::Database& db, QString* error, bool* unordered, Once once)
{
    bool databaseFault = false;
    const bool fast = fastPath(db);
    if (once(fast, error, &databaseFault))
        return true;
    if (!fast || !databaseFault || *unordered)
        return false;
    QString retryError;
    if (once(false, &retryError, &databaseFault))
        return true;
    if (databaseFault)
        *error = retryError;
    return false;
}

bool saveEmployees(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    EmployeeSaveCounts* counts, QString* error, const Progress& progress, bool* unordered)
{
    return saveWithReplay(db, error, unordered, [&](bool fast, QString* why, bool* databaseFault) {
        return saveEmployeesOnce(db, source, path, sha256, counts, why, progress, fast, databaseFault, unordered);
    });
}

bool saveHistory(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    TableCounts* counts, QString* error, const Progress& progress, bool* unordered)
{
    return saveWithReplay(db, error, unordered, [&](bool fast, QString* why, bool* databaseFault) {
        return saveHistoryOnce(db, source, path, sha256, counts, why, progress, fast, databaseFault, unordered);
    });
}

// The workbook read sheet by sheet as it is saved; `dataMonth` when sheet 1
// holds the month and year of the data in its first row.
RowSource streamSource(Workbook& book, const SheetShape* const shapes[], bool dataMonth, QString* error)
{
    return {[&book, shapes, dataMonth](int sheet, QString* name, const RowTaker& take, QString* why) {
                const auto top = [dataMonth](const SheetReader& in, int row) {
                    QString month, year;
                    return !dataMonth || in.index != 1 || row != 1 || readDataMonth(in, &month, &year);
                };
                return streamGrid(book, sheet, *shapes[sheet - 1], name, top, take, why);
            },
        [](int) { return 0; }, error, true};
}

} // namespace

bool saveEmployeeWorkbook(const db::Database& db, const EmployeeWorkbook& book, EmployeeSaveCounts* counts,
    QString* error, const Progress& progress)
{
    bool unordered = false;
    return saveEmployees(db,
        gridSource({&book.employees, &book.reasons, &book.types, &book.departs}, book.sheetNames), book.sourcePath,
        book.sourceSha256, counts, error, progress, &unordered);
}

bool saveHistoryWorkbook(
    const db::Database& db, const HistoryWorkbook& book, TableCounts* counts, QString* error, const Progress& progress)
{
    bool unordered = false;
    return saveHistory(db, gridSource({&book.periods}, {book.sheetName}), book.sourcePath, book.sourceSha256, counts,
        error, progress, &unordered);
}

bool importEmployeeWorkbook(const db::Database& db, const QString& path, EmployeeSaveCounts* counts, QString* error)
{
    auto book = openWith(path, 4, error);
    if (!book)
        return false;
    static const SheetShape* const shapes[] = {&kEmployeeShape, &kCodeShape, &kCodeShape, &kCodeShape};
    bool unordered = false;
    if (saveEmployees(db, streamSource(*book, shapes, true, error), path, audit::fileSha256(path), counts, error, {},
            &unordered))
        return true;
    if (!unordered)
        return false;
    EmployeeWorkbook whole; // rows stored out of order: read each sheet whole
    return loadEmployeeWorkbook(path, &whole, error) && saveEmployeeWorkbook(db, whole, counts, error);
}

bool importHistoryWorkbook(const db::Database& db, const QString& path, TableCounts* counts, QString* error)
{
    auto book = openWith(path, 1, error);
    if (!book)
        return false;
    static const SheetShape* const shapes[] = {&kPeriodShape};
    bool unordered = false;
    if (saveHistory(db, streamSource(*book, shapes, false, error), path, audit::fileSha256(path), counts, error, {},
            &unordered))
        return true;
    if (!unordered)
        return false;
    HistoryWorkbook whole;
    return loadHistoryWorkbook(path, &whole, error) && saveHistoryWorkbook(db, whole, counts, error);
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
