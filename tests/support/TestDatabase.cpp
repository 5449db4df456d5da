#include "support/TestDatabase.h"

#include "db/PasswordHash.h"
#include "db/Schema.h"
#include "db/Users.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

namespace velmora::test {

TestDatabase::TestDatabase(bool withSchema)
{
    const QString server = qEnvironmentVariable("VELMORA_TEST_DB");
    QString error;
    if (server.isEmpty()) {
        m_url = QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("test.sqlite"));
    } else {
        m_schema = QStringLiteral("t_%1_%2")
                       .arg(QCoreApplication::applicationPid())
                       .arg(QRandomGenerator::global()->generate() % 1000000);
        auto admin = db::Database::open(server, &error);
        if (!admin)
            throw std::runtime_error(("cannot reach the test server: " + error).toStdString());
        QSqlQuery q = admin->query();
        if (!q.exec(QStringLiteral("CREATE SCHEMA ") + m_schema))
            throw std::runtime_error(q.lastError().text().toStdString());
        QUrl u(server);
        QUrlQuery query(u);
        query.addQueryItem(QStringLiteral("schema"), m_schema);
        u.setQuery(query);
        m_url = u.toString();
    }
    m_db = db::Database::open(m_url, &error);
    if (!m_db)
        throw std::runtime_error(("cannot open the test database: " + error).toStdString());
    if (withSchema && !db::ensureSchema(*m_db, &error))
        throw std::runtime_error(("cannot create the schema: " + error).toStdString());
}

TestDatabase::~TestDatabase()
{
    m_db.reset();
    if (!m_schema.isEmpty()) {
        QString error;
        auto admin = db::Database::open(qEnvironmentVariable("VELMORA_TEST_DB"), &error);
        if (admin) {
            QSqlQuery q = admin->query();
            q.exec(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
        }
    }
}

std::unique_ptr<db::Database> TestDatabase::openAnother() const
{
    QString error;
    auto other = db::Database::open(m_url, &error);
    EXPECT_TRUE(other) << error.toStdString();
    return other;
}

void TestDatabase::addLogin(const QString& name, const QString& password)
{
    QString error;
    ASSERT_TRUE(
        db::addUser(*m_db, name, password, QStringLiteral("ผู้"), QStringLiteral("ทดสอบ"), &error, db::allRoleNames()))
        << error.toStdString();
}

void TestDatabase::cheapenPassword(const QString& name, const QString& password) const
{
    exec(QStringLiteral("UPDATE EP_TR_User SET Upassword = ? WHERE UserName = ?"), {db::hashPassword(password), name});
}

void TestDatabase::exec(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q = m_db->query();
    if (values.isEmpty()) { // DDL cannot be prepared on PostgreSQL
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString() << "\n" << sql.toStdString();
        return;
    }
    ASSERT_TRUE(q.prepare(sql)) << q.lastError().text().toStdString() << "\n" << sql.toStdString();
    for (const QVariant& v : values)
        q.addBindValue(v);
    ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString() << "\n" << sql.toStdString();
}

QVariant TestDatabase::scalar(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q = m_db->query();
    if (!q.prepare(sql)) {
        ADD_FAILURE() << q.lastError().text().toStdString();
        return {};
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        ADD_FAILURE() << q.lastError().text().toStdString();
        return {};
    }
    return q.next() ? q.value(0) : QVariant();
}

QString dumpTables(const db::Database& database, const QStringList& tables)
{
    QString out;
    for (const QString& table : tables) {
        QSqlQuery shape = database.query();
        if (!shape.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table))) {
            ADD_FAILURE() << "cannot read " << table.toStdString();
            continue;
        }
        QStringList order;
        for (int i = 1; i <= shape.record().count(); ++i)
            order << QString::number(i);
        QSqlQuery q = database.query();
        if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, order.join(QStringLiteral(", "))))) {
            ADD_FAILURE() << "cannot read " << table.toStdString();
            continue;
        }
        out += table + QLatin1Char('\n');
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < order.size(); ++i)
                cells << (q.isNull(i) ? QStringLiteral("NULL") : q.value(i).toString());
            out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace velmora::test
