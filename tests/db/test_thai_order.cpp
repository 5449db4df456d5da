// Thai names in dictionary order on every server: a leading vowel (เ แ โ ใ
// ไ) sorts by the consonant after it, a tone mark counts only between names
// otherwise equal, Latin names come after the Thai ones (the Thai locale's
// script order).

#include "db/ThaiCollation.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <algorithm>
#include <random>

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

namespace {

// Names that sort by more than their first letter: tone marks, leading
// vowels, the same name in Latin of another case, blanks at either end or
// doubled, digits, punctuation, the empty name, a character beyond U+FFFF, a
// byte-order mark, a name longer than the collation's buffer on the stack.
QStringList collationNames()
{
    QStringList names = kOrdered;
    names << QStringLiteral("ก่อง") << QStringLiteral("กอ้ง") << QStringLiteral("ก๊อง") << QStringLiteral("ก๋อง")
          << QStringLiteral("เก") << QStringLiteral("เก้") << QStringLiteral("แก") << QStringLiteral("โก")
          << QStringLiteral("ใก") << QStringLiteral("ไก") << QStringLiteral("เกศินี ") << QStringLiteral(" เกศินี")
          << QStringLiteral("เกศินี  ใจดี") << QStringLiteral("เกศินี ใจดี") << QStringLiteral("กมล2")
          << QStringLiteral("กมล10") << QStringLiteral("ฤทธิ์") << QStringLiteral("ฦ") << QStringLiteral("ฯ")
          << QStringLiteral("ๆ") << QStringLiteral("๑๒๓") << QStringLiteral("123") << QStringLiteral("anna")
          << QStringLiteral("ANNA") << QStringLiteral("Anna ") << QStringLiteral("Ánna") << QStringLiteral("somchai")
          << QStringLiteral("SomChai") << QStringLiteral("O'Brien") << QStringLiteral("O-Brien")
          << QStringLiteral("ObRien") << QStringLiteral("_x") << QStringLiteral("-") << QStringLiteral(" ")
          << QStringLiteral("  ") << QString() << QStringLiteral("\u00a0กมล") << QStringLiteral("กมล\u00a0")
          << QStringLiteral("\U0001F600") << QStringLiteral("ก\U00020000") << QStringLiteral("\ufeffกมล")
          << QStringLiteral("กมล\ufeff") << QStringLiteral("\ufeffกมลา") << QStringLiteral("ก\ufeffก")
          << QStringLiteral("Ánne") << QStringLiteral("\ufffdก") << QStringLiteral("กา").repeated(80)
          << QStringLiteral("กา").repeated(79) + QStringLiteral("ก");
    return names;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// What the collation compared before it read the bytes itself: both texts
// through QString::fromUtf8, then compareThai.
int throughQString(const QByteArray& a, const QByteArray& b)
{
    return db::compareThai(QString::fromUtf8(a.constData(), a.size()), QString::fromUtf8(b.constData(), b.size()));
}

TEST(ThaiOrder, TheBytesCompareAsTheirTexts)
{
    const QStringList names = collationNames();
    for (const QString& a : names)
        for (const QString& b : names) {
            const QByteArray a8 = a.toUtf8(), b8 = b.toUtf8();
            ASSERT_EQ(sign(db::compareThaiUtf8(a8, b8)), sign(throughQString(a8, b8)))
                << a.toStdString() << " | " << b.toStdString();
        }
    // QString::fromUtf8 drops a byte-order mark at the start, and so does the
    // collation: the name equals the one without it.
    EXPECT_EQ(db::compareThaiUtf8(QStringLiteral("\ufeffกมล").toUtf8(), QStringLiteral("กมล").toUtf8()), 0);
    EXPECT_EQ(db::compareThaiUtf8(QByteArrayView(), QByteArrayView("")), 0);
    EXPECT_LT(db::compareThaiUtf8(QByteArrayView(""), QByteArrayView(" ")), 0);
}

// Made-up names from Thai consonants, leading and following vowels and tone
// marks, some with Latin or blanks, many beginning alike as names next to
// each other in a sort do: every pair compares as through QString.
TEST(ThaiOrder, ManyMadeUpNamesCompareAsTheirTexts)
{
    std::mt19937 random(2569);
    const auto pick = [&](const QStringList& from) { return from.at(int(random() % from.size())); };
    QStringList consonants;
    for (char16_t c = 0x0E01; c <= 0x0E2E; ++c)
        consonants << QString(QChar(c));
    const QStringList leading = {"เ", "แ", "โ", "ใ", "ไ", "", "", ""};
    const QStringList vowels = {"ะ", "า", "ิ", "ี", "ึ", "ื", "ุ", "ู", "ั", "ำ", "", ""};
    const QStringList marks = {"่", "้", "๊", "๋", "็", "์", "", "", ""};
    const QStringList other = {"", "", "", "", " ", "A", "a", "Z", "1", "10", "-", "'"};
    QStringList names;
    for (int i = 0; i < 400; ++i) {
        QString name = i % 3 == 0 || names.isEmpty() ? QString() : names.at(int(random() % names.size())).left(6);
        const int syllables = 1 + int(random() % 3);
        for (int k = 0; k < syllables; ++k)
            name += pick(leading) + pick(consonants) + pick(vowels) + pick(marks) + pick(other);
        names << name;
    }
    for (const QString& a : names)
        for (const QString& b : names) {
            const QByteArray a8 = a.toUtf8(), b8 = b.toUtf8();
            ASSERT_EQ(sign(db::compareThaiUtf8(a8, b8)), sign(throughQString(a8, b8)))
                << a.toStdString() << " | " << b.toStdString();
        }
}

TEST(ThaiOrder, MalformedBytesCompareAsQStringReadsThem)
{
    // Each is read with U+FFFD (or as Qt reads it), never by the short way.
    const QList<QByteArray> texts = {
        QByteArray("\xe0\xb8", 2), // a Thai letter cut short
        QByteArray("\xe0\xb8\x81\xe0", 4), // the same at the end of a name
        QByteArray("\xc0\x80", 2), // overlong NUL
        QByteArray("\xe0\x80\x81", 3), // overlong three bytes
        QByteArray("\xed\xa0\x80", 3), // surrogates written as UTF-8
        QByteArray("\xed\xbf\xbf", 3),
        QByteArray("\xed\x9f\xbf", 3), // U+D7FF, the last before them
        QByteArray("\xef\xbf\xbe", 3), // U+FFFE
        QByteArray("\xef\xb7\x90", 3), // U+FDD0
        QByteArray("\xef\xbb\xbf\xe0\xb8\x81", 6), // byte-order mark, then ก
        QByteArray("\xf0\x9f\x98\x80", 4), // four bytes
        QByteArray("\xf8\x88\x80\x80\x80", 5), // five bytes
        QByteArray("\x80", 1), // a lone continuation byte
        QByteArray("\xff\xfe", 2),
        QByteArray("a\0b", 3), // a NUL inside
        QByteArray("\xe0\xb8\x81", 3), // ก, well formed
        QByteArray("\xef\xbf\xbd", 3), // U+FFFD itself
        QByteArray(),
    };
    for (const QByteArray& a : texts)
        for (const QByteArray& b : texts)
            ASSERT_EQ(sign(db::compareThaiUtf8(a, b)), sign(throughQString(a, b)))
                << a.toHex().toStdString() << " | " << b.toHex().toStdString();
}

TEST(ThaiOrder, TheServerSortsEveryNameAsCompareThai)
{
    test::TestDatabase t;
    if (t.isPostgres())
        GTEST_SKIP() << "the server's own Thai collation";
    QStringList names = collationNames();
    int code = 0;
    for (const QString& name : names)
        t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"),
            {QString::number(++code), name});
    t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('null', NULL)"));
    QSqlQuery q = t->query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT Dapart_Name FROM EP_TR_Depart ORDER BY ")
        + t->dialect().thaiOrder(QStringLiteral("Dapart_Name"))));
    QStringList sorted;
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(0).isNull()); // no name first
    while (q.next())
        sorted << q.value(0).toString();
    ASSERT_EQ(sorted.size(), names.size());
    // (SQLite stores a text without its opening byte-order mark: the names
    // are compared as stored.)
    QStringList expected = sorted;
    std::stable_sort(
        expected.begin(), expected.end(), [](const QString& a, const QString& b) { return db::compareThai(a, b) < 0; });
    EXPECT_EQ(sorted, expected);
    std::reverse(sorted.begin(), sorted.end());
    EXPECT_NE(sorted, expected);
}

} // namespace
