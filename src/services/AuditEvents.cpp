#include "services/AuditEvents.h"

#include "rules/CalculationJson.h"
#include "rules/Utility.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>
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

QStringList RowSnapshot::keysOf(const QStringList& sapids) const
{
    QStringList out;
    const QSet<QString> wanted(sapids.begin(), sapids.end());
    for (auto it = rows.constBegin(); it != rows.constEnd(); ++it) {
        if (wanted.contains(it.key().section(kKeySeparator, 0, 0)))
            out << it.key();
    }
    return out;
}

bool RowSnapshot::read(const db::Database& db, const QStringList& sapids, QString* error)
{
    rows.clear();
    const int chunk = 500;
    if (sapids.isEmpty())
        return true;
    // The values come back as one text per row, joined by the server: one
    // value to fetch per row rather than one per column.
    QString castType;
    switch (db.backend()) {
    case db::Backend::Sqlite:
        castType = QStringLiteral("TEXT");
        break;
    case db::Backend::Postgres:
        castType = QStringLiteral("VARCHAR");
        break;
    case db::Backend::SqlServer:
        castType = QStringLiteral("NVARCHAR(4000)");
        break;
    }
    QStringList parts;
    for (const QString& column : valueColumns) {
        if (!parts.isEmpty())
            parts << QLatin1Char('\'') + kKeySeparator + QLatin1Char('\'');
        parts << QStringLiteral("COALESCE(CAST(%1 AS %2), '')").arg(column, castType);
    }
    QSqlQuery q = db.query();
    const QString sql =
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 IN (")
            .arg(keyColumns.join(QStringLiteral(", ")), db.dialect().concat(parts), table, keyColumns.first())
        + QStringList(QList<QString>(chunk, QStringLiteral("?"))).join(QLatin1Char(',')) + QLatin1Char(')');
    if (!q.prepare(sql)) {
        if (error)
            *error = writeFailureMessage(q.lastError().text());
        return false;
    }
    const int keys = static_cast<int>(keyColumns.size());
    for (qsizetype from = 0; from < sapids.size(); from += chunk) {
        for (int i = 0; i < chunk; ++i) // the last chunk repeats its last key
            q.bindValue(i, sapids.at(std::min<qsizetype>(from + i, sapids.size() - 1)));
        if (!db.exec(q, QStringLiteral("อ่านข้อมูลเพื่อบันทึกประวัติการใช้งาน"), error))
            return false;
        while (q.next()) {
            QString key = q.value(0).toString();
            for (int i = 1; i < keys; ++i)
                key += kKeySeparator + q.value(i).toString();
            rows.insert(key, q.value(keys).toString());
        }
        q.finish();
    }
    return true;
}

RowSnapshot employeeSnapshot()
{
    RowSnapshot s;
    s.table = QStringLiteral("EP_Emp_Main");
    s.keyColumns = {QStringLiteral("SapID")};
    s.valueColumns = {QStringLiteral("SSN"), QStringLiteral("Surname"), QStringLiteral("F_Name"),
        QStringLiteral("L_Name"), QStringLiteral("Emp_BirthDay"), QStringLiteral("Work_Begin_Date_Text"),
        QStringLiteral("Work_Type_Code"), QStringLiteral("Work_End_Date_Text"), QStringLiteral("Depart_Code"),
        QStringLiteral("Money_Rate"), QStringLiteral("Emp_RecMChod_Status")};
    return s;
}

RowSnapshot historySnapshot()
{
    RowSnapshot s;
    s.table = QStringLiteral("EP_Work_Histry");
    s.keyColumns = {QStringLiteral("SapID"), QStringLiteral("Work_Type_Code"), QStringLiteral("Work_B_Date")};
    s.valueColumns = {QStringLiteral("SSN"), QStringLiteral("Work_Type"), QStringLiteral("Work_E_Date")};
    return s;
}

QJsonArray changedRows(const RowSnapshot& before, const RowSnapshot& after)
{
    QStringList keys = before.rows.keys();
    keys.sort();
    QJsonArray out;
    for (const QString& key : keys) {
        const auto it = after.rows.constFind(key);
        if (it == after.rows.constEnd())
            continue;
        const QString& oldText = before.rows.value(key);
        if (oldText == *it)
            continue;
        const QStringList old = oldText.split(kKeySeparator);
        const QStringList now = it->split(kKeySeparator);
        QJsonObject changes;
        for (qsizetype i = 0; i < before.valueColumns.size(); ++i) {
            if (old.value(i) != now.value(i))
                changes.insert(before.valueColumns.at(i),
                    QJsonObject {{QStringLiteral("old"), old.value(i)}, {QStringLiteral("new"), now.value(i)}});
        }
        if (changes.isEmpty())
            continue;
        const QStringList parts = key.split(kKeySeparator);
        QJsonObject row {{QStringLiteral("sapid"), parts.value(0)}, {QStringLiteral("changes"), changes}};
        if (parts.size() > 1) {
            QJsonObject k;
            for (qsizetype i = 0; i < parts.size(); ++i)
                k.insert(before.keyColumns.value(i), parts.at(i));
            row.insert(QStringLiteral("key"), k);
        }
        out.append(row);
    }
    return out;
}

QStringList gridSapids(const std::vector<QStringList>& rows)
{
    QStringList out;
    QSet<QString> seen;
    for (const QStringList& r : rows) {
        const QString key = QString::fromStdString(Trim_Spaces(r.value(1).toStdString()));
        if (!key.isEmpty() && !seen.contains(key)) {
            seen.insert(key);
            out << key;
        }
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
    const QJsonObject& counts, const RowSnapshot& before, QString* error)
{
    RowSnapshot after = before;
    QStringList sapids;
    {
        QSet<QString> seen;
        for (auto it = before.rows.constBegin(); it != before.rows.constEnd(); ++it) {
            const QString id = it.key().section(kKeySeparator, 0, 0);
            if (!seen.contains(id)) {
                seen.insert(id);
                sapids << id;
            }
        }
    }
    if (!after.read(db, sapids, error))
        return false;
    QJsonObject d;
    d.insert(QStringLiteral("file"), QFileInfo(path).fileName());
    d.insert(QStringLiteral("path"), path);
    d.insert(QStringLiteral("sha256"), sha256);
    d.insert(QStringLiteral("counts"), counts);
    d.insert(QStringLiteral("changed"), changedRows(before, after));
    return record(db, eventKind, QString(), d, error);
}

} // namespace velmora::audit
