#include "services/TableCopy.h"

#include "db/AuditLog.h"
#include "db/BatchInsert.h"
#include "db/CopyIn.h"
#include "db/Prepared.h"
#include "db/Schema.h"
#include "db/Sha256.h"

#include <QDateTime>
#include <QLocale>
#include <QSqlQuery>

#include <array>
#include <cstring>
#include <memory>
#include <optional>

namespace velmora::backup {

namespace {

using db::ColumnKind;

const QString kClockText = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// How often the progress is told, in rows.
constexpr qint64 kProgressEvery = 2000;

// A date-time as the program reads it: the time the drivers give on a
// server, the text SQLite keeps (either of its two forms).
QString dateTimeText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(kClockText);
    return v.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' '));
}

// The clock time of a date-time, kept apart from any time zone (a local
// time would look at the computer's zone for every row).
std::optional<QDateTime> dateTimeOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime t = v.toDateTime();
        return QDateTime(t.date(), t.time(), Qt::UTC);
    }
    const QString text = v.toString();
    const QDate day = QDate::fromString(text.left(10), Qt::ISODate);
    const QChar between = text.size() > 10 ? text[10] : QChar();
    const QTime clock = text.size() == 10 ? QTime(0, 0) : QTime::fromString(text.mid(11), Qt::ISODateWithMs);
    if (!day.isValid() || !clock.isValid() || (text.size() > 10 && between != QLatin1Char(' ') && between != QLatin1Char('T')))
        return std::nullopt;
    return QDateTime(day, clock, Qt::UTC);
}

// One value in the one form its kind has on every server.
QByteArray canonical(ColumnKind kind, const QVariant& v)
{
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::LongText:
        return v.toString().toUtf8();
    case ColumnKind::Integer:
        return QByteArray::number(v.toLongLong());
    case ColumnKind::Money:
        return QByteArray::number(v.toDouble(), 'f', 2);
    case ColumnKind::Real:
        return QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case ColumnKind::DateTime:
    case ColumnKind::ClockTime:
        return dateTimeText(v).toUtf8();
    }
    return {};
}

// A null of the kind's own type, as the drivers bind it.
QVariant nullOf(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Integer:
        return QVariant(QMetaType(QMetaType::LongLong));
    case ColumnKind::Money:
    case ColumnKind::Real:
        return QVariant(QMetaType(QMetaType::Double));
    case ColumnKind::DateTime:
    case ColumnKind::ClockTime:
        return QVariant(QMetaType(QMetaType::QDateTime));
    case ColumnKind::Text:
    case ColumnKind::LongText:
        break;
    }
    return QVariant(QMetaType(QMetaType::QString));
}

void hashValue(db::Sha256& row, ColumnKind kind, const QVariant& v)
{
    if (db::bindsNull(v)) {
        row.update("N", 1);
        return;
    }
    const QByteArray bytes = canonical(kind, v);
    const QByteArray length = QByteArray::number(bytes.size()) + ':';
    row.update("V", 1);
    row.update(length.constData(), static_cast<size_t>(length.size()));
    row.update(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The sum of the rows' hashes, in four 64-bit lanes: the same for the same
// rows in any order, and a repeated row counts twice.
class TableChecksum
{
public:
    // One row of `table`, its values in the order of the table's columns.
    void addRow(const db::TableDescription& table, const QVariantList& values)
    {
        db::Sha256 row;
        for (qsizetype i = 0; i < values.size(); ++i)
            hashValue(row, table.columns[static_cast<size_t>(i)].kind, values[i]);
        const auto digest = row.final();
        for (size_t lane = 0; lane < m_lanes.size(); ++lane) {
            quint64 part = 0;
            std::memcpy(&part, digest.data() + 8 * lane, 8);
            m_lanes[lane] += part;
        }
    }
    QString hex() const
    {
        QByteArray bytes;
        for (quint64 lane : m_lanes)
            bytes += QByteArray::number(lane, 16).rightJustified(16, '0');
        return QString::fromLatin1(bytes);
    }

private:
    std::array<quint64, 4> m_lanes {};
};

// Every column of the table; a date-time as its text.
QString selectAll(const db::Database& db, const db::TableDescription& table)
{
    QStringList names;
    for (const db::ColumnDescription& c : table.columns)
        names << (c.kind == ColumnKind::DateTime || c.kind == ColumnKind::ClockTime ? db.dialect().dateTimeText(c.name)
                                                                                     : c.name);
    return QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), table.name);
}

// Reads every row of `table`, handing each to `row` with its hash already
// taken; the figures of the table as read.
template <typename Row>
bool readTable(const db::Database& db, const db::TableDescription& table, const QString& step,
    const StepProgress& progress, TableFigures* figures, QString* error, Row&& row)
{
    figures->table = table.name;
    qint64 total = 0;
    if (!countRows(db, table.name, &total, error))
        return false;
    db::Prepared q;
    QString why;
    if (!q.prepare(db, selectAll(db, table), &why) || !q.run(&why)) {
        if (error)
            *error = QStringLiteral("อ่านตาราง %1 ไม่ได้: %2").arg(table.name, why);
        return false;
    }
    TableChecksum sum;
    const auto columns = static_cast<int>(table.columns.size());
    QVariantList values;
    values.reserve(columns);
    qint64 rows = 0;
    if (progress)
        progress(step, 0, total);
    while (q.next()) {
        values.clear();
        for (int i = 0; i < columns; ++i)
            values << q.value(i);
        sum.addRow(table, values);
        ++rows;
        if (!row(values, rows))
            return false;
        if (progress && rows % kProgressEvery == 0)
            progress(step, rows, total);
    }
    if (!q.failure().isEmpty()) {
        if (error)
            *error = QStringLiteral("อ่านตาราง %1 ไม่ได้: %2").arg(table.name, q.failure());
        return false;
    }
    if (progress)
        progress(step, rows, qMax(rows, total));
    figures->rows = rows;
    figures->checksum = sum.hex();
    return true;
}

// A value as the program itself writes it on the target's server. False
// when a date-time text of SQLite is no date-time.
bool valueFor(
    ColumnKind kind, db::Backend from, db::Backend to, const QVariant& v, QVariant* out)
{
    if (db::bindsNull(v)) {
        *out = nullOf(kind);
        return true;
    }
    if (kind != ColumnKind::DateTime && kind != ColumnKind::ClockTime) {
        *out = v;
        return true;
    }
    if (to == db::Backend::Sqlite && from == db::Backend::Sqlite) {
        *out = v; // the text as it stands
        return true;
    }
    const std::optional<QDateTime> t = dateTimeOf(v);
    if (!t)
        return false;
    if (to == db::Backend::Sqlite)
        *out = t->toString(kind == ColumnKind::ClockTime ? kClockText : QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    else
        // As text: the drivers would move a bound date-time by the
        // difference between this computer's time zone and the server
        // session's, and the audit chain hashes the time's text. "T" keeps
        // SQL Server from reading the day as the month.
        *out = t->toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return true;
}

// Rows a statement of the target takes at once: SQLite runs one row per
// statement fastest; the servers take many (SQL Server binds at most 2,100
// values per statement).
int rowsPerStatement(db::Backend backend, int columns)
{
    if (backend == db::Backend::Sqlite)
        return 1;
    return qBound(1, 2000 / qMax(1, columns), 200);
}

} // namespace

bool copyTables(const db::Database& source, const db::Database& target, std::vector<TableFigures>* figures,
    const StepProgress& progress, QString* error)
{
    figures->clear();
    for (const db::TableDescription& table : db::programTables()) {
        QStringList names;
        for (const db::ColumnDescription& c : table.columns)
            names << c.name;
        const QString writing = QStringLiteral("เขียนตาราง ") + table.name;
        QString why;
        // A PostgreSQL server takes the whole table in one COPY; the others
        // take bound INSERTs of many rows.
        std::unique_ptr<db::CopyIn> copyIn;
        std::optional<db::BatchInsert> insert;
        if (target.backend() == db::Backend::Postgres) {
            copyIn = db::CopyIn::start(target, table.name, names, &why);
            if (!copyIn) {
                if (error)
                    *error = writing + QStringLiteral(" ไม่ได้: ") + why;
                return false;
            }
        } else {
            insert.emplace(target, table.name, names,
                rowsPerStatement(target.backend(), static_cast<int>(names.size())), writing);
        }
        QVariantList written;
        TableFigures f;
        const bool ok = readTable(source, table, QStringLiteral("คัดลอกตาราง ") + table.name, progress, &f, &why,
            [&](const QVariantList& values, qint64 row) {
                written.clear();
                for (qsizetype i = 0; i < values.size(); ++i) {
                    const db::ColumnDescription& column = table.columns[static_cast<size_t>(i)];
                    QVariant value;
                    if (!valueFor(column.kind, source.backend(), target.backend(), values[i], &value)) {
                        why = QStringLiteral("ตาราง %1 แถวที่ %2 คอลัมน์ %3: \"%4\" ไม่ใช่วันเวลา")
                                  .arg(table.name)
                                  .arg(row)
                                  .arg(column.name, values[i].toString());
                        return false;
                    }
                    written << value;
                }
                int ignored = 0;
                return copyIn ? copyIn->add(written, &why) : insert->add(written, static_cast<int>(row), &why, &ignored);
            });
        int ignored = 0;
        if (!ok || (copyIn ? !copyIn->finish(&why) : !insert->flush(&why, &ignored))) {
            if (error)
                *error = copyIn && ok ? writing + QStringLiteral(" ไม่ได้: ") + why : why;
            return false;
        }
        figures->push_back(f);
    }
    return true;
}

bool tableFigures(
    const db::Database& db, std::vector<TableFigures>* figures, const StepProgress& progress, QString* error)
{
    figures->clear();
    for (const db::TableDescription& table : db::programTables()) {
        TableFigures f;
        if (!readTable(db, table, QStringLiteral("ตรวจตาราง ") + table.name, progress, &f, error,
                [](const QVariantList&, qint64) { return true; }))
            return false;
        figures->push_back(f);
    }
    return true;
}

bool verifiedFigures(const db::Database& db, std::vector<TableFigures>* figures, audit::VerifyResult* verified,
    const StepProgress& progress, QString* error)
{
    figures->clear();
    for (const db::TableDescription& table : db::programTables()) {
        TableFigures f;
        const QString step = QStringLiteral("ตรวจตาราง ") + table.name;
        if (table.name != QLatin1String("EP_Audit_Log")) {
            if (!readTable(db, table, step, progress, &f, error, [](const QVariantList&, qint64) { return true; }))
                return false;
            figures->push_back(f);
            continue;
        }
        qint64 total = 0;
        if (!countRows(db, table.name, &total, error))
            return false;
        if (progress)
            progress(step, 0, total);
        TableChecksum sum;
        QVariantList values;
        *verified = audit::verifyAuditLog(db, [&](const QSqlQuery& q) {
            values.clear();
            for (qsizetype i = 0; i < static_cast<qsizetype>(table.columns.size()); ++i)
                values << q.value(static_cast<int>(i));
            sum.addRow(table, values);
            ++f.rows;
            if (progress && f.rows % kProgressEvery == 0)
                progress(step, f.rows, total);
        });
        f.table = table.name;
        f.checksum = sum.hex();
        figures->push_back(f);
    }
    return true;
}

bool countRows(const db::Database& db, const QString& table, qint64* rows, QString* error)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !q.next()) {
        if (error)
            *error = QStringLiteral("นับแถวของตาราง %1 ไม่ได้: %2").arg(table, db.failureOf(q));
        return false;
    }
    *rows = q.value(0).toLongLong();
    return true;
}

QStringList compareFigures(const std::vector<TableFigures>& source, const std::vector<TableFigures>& target)
{
    QStringList differ;
    for (size_t i = 0; i < source.size(); ++i) {
        const TableFigures& a = source[i];
        const TableFigures* b = i < target.size() ? &target[i] : nullptr;
        if (!b || b->table != a.table)
            differ << QStringLiteral("%1: ไม่มีในปลายทาง").arg(a.table);
        else if (a.rows != b->rows)
            differ << QStringLiteral("%1: ต้นทาง %2 แถว ปลายทาง %3 แถว").arg(a.table).arg(a.rows).arg(b->rows);
        else if (a.checksum != b->checksum)
            differ << QStringLiteral("%1: ค่าตรวจสอบ (checksum) ไม่ตรงกัน").arg(a.table);
    }
    return differ;
}

} // namespace velmora::backup
