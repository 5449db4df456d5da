// Thai names in dictionary order on every server: a leading vowel (เ แ โ ใ
// ไ) sorts by the consonant after it, a tone mark counts only between names
// otherwise equal, Latin names come after the Thai ones (the Thai locale's
// script order).

#include "db/ThaiCollation.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <algorithm>

using namespace velmora;

namespace {

// Dictionary order. By code point every name with a leading vowel went after
// every other name (เกศินี after ธนา).
const QStringList kOrdered = {
    QStringLiteral("กมล"),
    QStringLiteral("กอง"),
    QStringLiteral("ก้อง"),
    QStringLiteral("เกศินี"),
    QStringLiteral("แก้ว"),
    QStringLiteral("ใจดี"),
    QStringLiteral("โชติ"),
    QStringLiteral("ณัฐ"),
    QStringLiteral("ธนา"),
    QStringLiteral("ไพรัตน์"),
    QStringLiteral("Anna"),
    QStringLiteral("Somchai"),
};

QStringList shuffled()
{
    QStringList names = kOrdered;
    std::reverse(names.begin(), names.end());
    names.swapItemsAt(0, 5);
    return names;
}

TEST(ThaiOrder, TheComparisonSortsInDictionaryOrder)
{
    QStringList names = shuffled();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return db::compareThai(a, b) < 0; });
    EXPECT_EQ(names, kOrdered);
    EXPECT_LT(db::compareThai(QStringLiteral("เกศินี"), QStringLiteral("ธนา")), 0);
    EXPECT_EQ(db::compareThai(QStringLiteral("กมล"), QStringLiteral("กมล")), 0);
}

TEST(ThaiOrder, TheServerSortsInDictionaryOrder)
{
    test::TestDatabase t;
    int code = 0;
    for (const QString& name : shuffled())
        t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"),
            {QString::number(++code), name});
    QSqlQuery q = t->query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT Dapart_Name FROM EP_TR_Depart ORDER BY ")
        + t->dialect().thaiOrder(QStringLiteral("Dapart_Name"))));
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    EXPECT_EQ(names, kOrdered);
}

} // namespace
