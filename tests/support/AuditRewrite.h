#pragma once

// The database owner rewriting history the way a writer who knows the chain
// would: one row changed through a plain connection, then every later chain
// value and the head computed anew, so that `audit verify` alone says "ok".

#include "db/AuditLog.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::test {

inline void rewriteAuditTrail(TestDatabase& t, qint64 row, const QString& user)
{
    t.exec(QStringLiteral("UPDATE EP_Audit_Log SET User_Name = ? WHERE Seq_No = ?"), {user, row});
    std::vector<audit::Entry> entries;
    QString error;
    ASSERT_TRUE(audit::listEntries(t.db(), {}, false, &entries, &error))
        << error.toStdString();
    QString previous;
    for (const audit::Entry& e : entries) {
        if (e.seq >= row) {
            const QString chain = audit::chainValue(previous, e);
            t.exec(QStringLiteral("UPDATE EP_Audit_Log SET Chain_Value = ? WHERE Seq_No = ?"), {chain, e.seq});
            previous = chain;
        } else {
            previous = e.chain;
        }
    }
    t.exec(QStringLiteral("UPDATE EP_Audit_Head SET Chain_Value = ?"), {previous});
}

} // namespace velmora::test
