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
    const QString joined = key.join(kKeySeparator);
    const auto it = m_rows.find(joined);
    if (it == m_rows.end())
        m_rows.insert(joined, {key, old, now});
    else
        it->now = now;
}

QJsonArray ImportChanges::rows() const
{
    QJsonArray out;
    for (const Change& row : m_rows) {
        QJsonObject changes;
        for (qsizetype i = 0; i < m_valueColumns.size(); ++i) {
            if (row.old.value(i) != row.now.value(i))
                changes.insert(m_valueColumns.at(i),
                    QJsonObject {{QStringLiteral("old"), row.old.value(i)}, {QStringLiteral("new"), row.now.value(i)}});
        }
        if (changes.isEmpty())
            continue;
        QJsonObject entry {{QStringLiteral("sapid"), row.key.value(0)}, {QStringLiteral("changes"), changes}};
        if (row.key.size() > 1) {
            QJsonObject k;
            for (qsizetype i = 0; i < row.key.size(); ++i)
                k.insert(m_keyColumns.value(i), row.key.at(i));
            entry.insert(QStringLiteral("key"), k);
        }
        out.append(entry);
    }
    return out;
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
    QJsonObject d;
    d.insert(QStringLiteral("file"), QFileInfo(path).fileName());
    d.insert(QStringLiteral("path"), path);
    d.insert(QStringLiteral("sha256"), sha256);
    d.insert(QStringLiteral("counts"), counts);
    d.insert(QStringLiteral("changed"), changes.rows());
    return record(db, eventKind, QString(), d, error);
}

} // namespace velmora::audit
