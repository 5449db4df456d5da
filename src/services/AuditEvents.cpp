#include "services/AuditEvents.h"

#include "rules/CalculationJson.h"
#include "rules/Utility.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <numeric>

namespace velmora::audit {

namespace {

const QChar kKeySeparator(0x1F);

// A stored value as text the same way before and after: dates as ISO text,
// numbers in their shortest form, NULL as "".
QString valueText(const QVariant& v)
{
    if (v.isNull())
        return {};
    switch (v.metaType().id()) {
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QJsonValue jsonValue(const QVariant& v)
{
    if (v.isNull())
        return QJsonValue::Null;
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QJsonValue(v.toLongLong());
    case QMetaType::Double:
        return QJsonValue(v.toDouble());
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return valueText(v);
    default:
        return v.toString();
    }
}

// Every column of the rows of one SAP ID, named as the schema names them (a
// server may fold the names it returns).
bool readRows(const db::Database& db, const QString& table, const QStringList& columns, const QString& where,
    const QString& sapid, QJsonArray* rows, QString* error)
{
    QSqlQuery q = db.query();
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(columns.join(QStringLiteral(", ")), table, where);
    if (!q.prepare(sql)) {
        if (error)
            *error = QStringLiteral("อ่านข้อมูลเพื่อบันทึกประวัติการใช้งาน: ") + q.lastError().text();
        return false;
    }
    q.addBindValue(sapid);
    if (!db.exec(q, QStringLiteral("อ่านข้อมูลเพื่อบันทึกประวัติการใช้งาน"), error))
        return false;
    while (q.next()) {
        QJsonObject row;
        for (int i = 0; i < columns.size(); ++i)
            row.insert(columns.at(i), jsonValue(q.value(i)));
        rows->append(row);
    }
    return true;
}

QStringList words(const char* list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

QByteArray calculationSavedDetails(const calc::Calculation_Input& input, const calc::Calculation& calculation)
{
    return QByteArray::fromStdString(calc::Calculation_Json(input, calculation, calc::Json_Layout::Compact));
}

bool cancelledDetails(
    const db::Database& db, const QString& sapid, bool withHistory, QJsonObject* details, QString* error)
{
    QJsonArray summary, detail, earlier, periods;
    static const QStringList summaryColumns =
        words("SapID SSN MMYYYY_Recieve Date_Entry Date_Beg_Cal Date_End_Cal Total_Day No_Year No_Month No_Day"
              " Last_Salary N_T Emp_Surname Emp_F_Name Emp_L_Name Fact_No_Date Fact_Per_Cent Fact_Month_Weigth"
              " KV_No_Date KV_Per_Cent Kv_Month_Weight His_Rec_Money Net_Money_Recieve Depart_Code Depart_Name"
              " Rec_Status Event_Out Is_Print_doc");
    static const QStringList detailColumns =
        words("SapID Work_Type_Code Date_B_cal Date_E_Cal Sum_Day Sum_Month Sum_Month_Weight");
    static const QStringList earlierColumns =
        words("Main_SapID SapID N_Order MMYYYY_Recieve Depart_Code Depart_Name Date_Beg_Cal Date_End_Cal Total_Day"
              " No_Year No_Month No_Day N_T Last_Salary His_Rec_Money Net_Money_Recieve");
    static const QStringList periodColumns = words("SapID SSN Work_Type_Code Work_Type Work_B_Date Work_E_Date");
    if (!readRows(db, QStringLiteral("EP_mRec_Money_Chodchoy"), summaryColumns, QStringLiteral("SapID = ?"), sapid,
            &summary, error)
        || !readRows(db, QStringLiteral("EP_mRec_Money_Detail"), detailColumns, QStringLiteral("SapID = ?"), sapid,
            &detail, error)
        || !readRows(db, QStringLiteral("EP_mRep_Rec_Money"), earlierColumns,
            QStringLiteral("Main_SapID = ? ORDER BY N_Order"), sapid, &earlier, error))
        return false;
    if (withHistory
        && !readRows(
            db, QStringLiteral("EP_Work_Histry"), periodColumns, QStringLiteral("SapID = ?"), sapid, &periods, error))
        return false;
    QJsonObject d;
    d.insert(QStringLiteral("summary"), summary);
    d.insert(QStringLiteral("details"), detail);
    d.insert(QStringLiteral("earlier"), earlier);
    d.insert(QStringLiteral("history_removed"), withHistory);
    if (withHistory)
        d.insert(QStringLiteral("removed_periods"), periods);
    *details = d;
    return true;
}

ImportChanges::ImportChanges(QStringList keyColumns, QStringList valueColumns)
    : m_keyColumns(std::move(keyColumns))
    , m_valueColumns(std::move(valueColumns))
{ }

void ImportChanges::note(const QStringList& key, std::vector<ColumnChange> changed)
{
    // Kept as noted (an import notes tens of thousands); a key noted more
    // than once is merged when the rows are written.
    m_rows.push_back({key.size() == 1 ? key.front() : key.join(kKeySeparator), key, std::move(changed)});
}

void ImportChanges::note(const QStringList& key, const QStringList& old, const QStringList& now)
{
    std::vector<ColumnChange> changed;
    for (qsizetype i = 0; i < m_valueColumns.size(); ++i) {
        if (old.value(i) != now.value(i))
            changed.push_back({static_cast<int>(i), old.value(i), now.value(i)});
    }
    note(key, std::move(changed));
}

namespace {

void putJsonString(std::string& out, const QString& text)
{
    // texts of plain ASCII without characters to escape go as they are
    const qsizetype size = text.size();
    const ushort* in = text.utf16();
    qsizetype i = 0;
    while (i < size && in[i] >= 0x20 && in[i] < 0x80 && in[i] != '"' && in[i] != '\\')
        ++i;
    if (i == size) {
        out += '"';
        for (qsizetype k = 0; k < size; ++k)
            out += static_cast<char>(in[k]);
        out += '"';
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    calc::Append_Json_String(out, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

} // namespace

QByteArray ImportChanges::rowsJson() const
{
    // Written straight, members in the order a JSON object keeps them
    // (names sorted): "changes" {column: {"new", "old"}}, "key", "sapid". An
    // import that changes every employee writes tens of thousands of these.
    // the place of each logged column in name order
    std::vector<int> rank(static_cast<size_t>(m_valueColumns.size()));
    {
        std::vector<int> byName(rank.size());
        std::iota(byName.begin(), byName.end(), 0);
        std::sort(byName.begin(), byName.end(),
            [&](int a, int b) { return m_valueColumns.at(a) < m_valueColumns.at(b); });
        for (size_t r = 0; r < byName.size(); ++r)
            rank[static_cast<size_t>(byName[r])] = static_cast<int>(r);
    }
    std::vector<qsizetype> keys(static_cast<size_t>(m_keyColumns.size()));
    std::iota(keys.begin(), keys.end(), qsizetype(0));
    std::sort(keys.begin(), keys.end(), [&](qsizetype a, qsizetype b) { return m_keyColumns.at(a) < m_keyColumns.at(b); });
    std::vector<const Change*> sorted;
    sorted.reserve(m_rows.size());
    for (const Change& row : m_rows)
        sorted.push_back(&row);
    // in key order; the notes of one key stay in the order noted
    std::stable_sort(
        sorted.begin(), sorted.end(), [](const Change* a, const Change* b) { return a->joined < b->joined; });
    std::string out("[");
    out.reserve(64 + sorted.size() * 96);
    bool first = true;
    std::vector<ColumnChange> merged;
    for (size_t at = 0; at < sorted.size();) {
        const Change& row = *sorted[at];
        size_t end = at + 1;
        while (end < sorted.size() && sorted[end]->joined == row.joined)
            ++end;
        // A key written again: a column changed before keeps its first old
        // value and takes the last new one; a column changed only later was,
        // until then, as first stored.
        const std::vector<ColumnChange>* changedColumns = &row.columns;
        if (end - at > 1) {
            merged = row.columns;
            for (size_t later = at + 1; later < end; ++later) {
                for (const ColumnChange& c : sorted[later]->columns) {
                    const auto same = std::find_if(
                        merged.begin(), merged.end(), [&](const ColumnChange& k) { return k.column == c.column; });
                    if (same != merged.end())
                        same->now = c.now;
                    else
                        merged.push_back(c);
                }
            }
            changedColumns = &merged;
        }
        at = end;
        const size_t start = out.size();
        out += first ? "{\"changes\":{" : ",{\"changes\":{";
        bool any = false;
        std::array<const ColumnChange*, 64> columns {};
        size_t count = 0;
        for (const ColumnChange& c : *changedColumns) {
            if (count < columns.size())
                columns[count++] = &c;
        }
        std::sort(columns.begin(), columns.begin() + static_cast<std::ptrdiff_t>(count),
            [&](const ColumnChange* a, const ColumnChange* b) {
                return rank[static_cast<size_t>(a->column)] < rank[static_cast<size_t>(b->column)];
            });
        for (size_t n = 0; n < count; ++n) {
            const ColumnChange* c = columns[n];
            if (c->old == c->now) // changed, then changed back by a later row
                continue;
            if (any)
                out += ',';
            any = true;
            putJsonString(out, m_valueColumns.at(c->column));
            out += ":{\"new\":";
            putJsonString(out, c->now);
            out += ",\"old\":";
            putJsonString(out, c->old);
            out += '}';
        }
        if (!any) {
            out.resize(start);
            continue;
        }
        out += '}';
        if (row.key.size() > 1) {
            out += ",\"key\":{";
            bool firstKey = true;
            for (const qsizetype i : keys) {
                if (!firstKey)
                    out += ',';
                firstKey = false;
                putJsonString(out, m_keyColumns.at(i));
                out += ':';
                putJsonString(out, row.key.value(i));
            }
            out += '}';
        }
        out += ",\"sapid\":";
        putJsonString(out, row.key.value(0));
        out += '}';
        first = false;
    }
    out += ']';
    return QByteArray::fromStdString(out);
}

QString fileSha256(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f))
        return {};
    return QString::fromLatin1(h.result().toHex());
}

bool recordImport(const db::Database& db, const QString& eventKind, const QString& path, const QString& sha256,
    const QJsonObject& counts, const ImportChanges& changes, QString* error)
{
    // {"changed", "counts", "file", "path", "sha256"}: the changes written
    // straight into the details, the rest as a JSON object writes it.
    std::string tail(",\"counts\":");
    tail += QJsonDocument(counts).toJson(QJsonDocument::Compact).toStdString();
    tail += ",\"file\":";
    putJsonString(tail, QFileInfo(path).fileName());
    tail += ",\"path\":";
    putJsonString(tail, path);
    tail += ",\"sha256\":";
    putJsonString(tail, sha256);
    tail += '}';
    QByteArray d("{\"changed\":");
    d += changes.rowsJson();
    d += QByteArrayView(tail.data(), static_cast<qsizetype>(tail.size()));
    return recordJson(db, eventKind, QString(), d, error);
}

} // namespace velmora::audit
