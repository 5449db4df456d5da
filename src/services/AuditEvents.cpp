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

void ImportChanges::note(const QStringList& key, const QStringList& old, const QStringList& now)
{
    QString joined = key.size() == 1 ? key.front() : key.join(kKeySeparator);
    const auto it = m_index.constFind(joined);
    if (it != m_index.constEnd()) {
        m_rows[*it].now = now;
        return;
    }
    m_index.insert(joined, m_rows.size());
    m_rows.push_back({std::move(joined), key, old, now});
}

namespace {

void putJsonString(std::string& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    calc::Append_Json_String(out, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

} // namespace

QByteArray ImportChanges::rowsJson() const
{
    // Written straight, members in the order a JSON object keeps them
    // (names sorted): "changes" {column: {"new", "old"}}, "key", "sapid". An
    // import that changes every employee writes tens of thousands of these.
    std::vector<qsizetype> columns(static_cast<size_t>(m_valueColumns.size()));
    std::iota(columns.begin(), columns.end(), qsizetype(0));
    std::sort(columns.begin(), columns.end(),
        [&](qsizetype a, qsizetype b) { return m_valueColumns.at(a) < m_valueColumns.at(b); });
    std::vector<qsizetype> keys(static_cast<size_t>(m_keyColumns.size()));
    std::iota(keys.begin(), keys.end(), qsizetype(0));
    std::sort(keys.begin(), keys.end(), [&](qsizetype a, qsizetype b) { return m_keyColumns.at(a) < m_keyColumns.at(b); });
    std::vector<const Change*> sorted;
    sorted.reserve(m_rows.size());
    for (const Change& row : m_rows)
        sorted.push_back(&row);
    std::sort(sorted.begin(), sorted.end(), [](const Change* a, const Change* b) { return a->joined < b->joined; });
    std::string out("[");
    out.reserve(64 + sorted.size() * 96);
    bool first = true;
    for (const Change* changed : sorted) {
        const Change& row = *changed;
        const size_t start = out.size();
        out += first ? "{\"changes\":{" : ",{\"changes\":{";
        bool any = false;
        for (const qsizetype i : columns) {
            if (row.old.value(i) == row.now.value(i))
                continue;
            if (any)
                out += ',';
            any = true;
            putJsonString(out, m_valueColumns.at(i));
            out += ":{\"new\":";
            putJsonString(out, row.now.value(i));
            out += ",\"old\":";
            putJsonString(out, row.old.value(i));
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
