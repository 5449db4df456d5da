#include "services/import/StoredRows.h"

#include <QSqlQuery>

#include <algorithm>

namespace velmora::import {

using db::bindsNull;

bool StoredReader::prepare(const db::Database& db, const QString& select, const QString& keyColumn, QString* why)
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

bool StoredReader::read(const db::Database& db, const QStringList& keys,
    const std::function<void(const db::Prepared&)>& onRow, QString* why)
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

bool sameValues(const QVariantList& stored, const QVariantList& written, qsizetype money)
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

QVariantList asStored(QVariantList values)
{
    for (QVariant& v : values) {
        if (bindsNull(v))
            v = QVariant(QMetaType::fromType<QString>());
    }
    return values;
}

QString loggedText(const QVariant& v, bool money)
{
    if (bindsNull(v))
        return {};
    return money ? QString::number(v.toDouble(), 'f', 2) : v.toString();
}

} // namespace velmora::import
