#include "db/ThaiCollation.h"

#include "db/Dialect.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace velmora::db {

namespace {

const QCollator& thaiCollator()
{
    // QCollator is not safe to share between threads; one per thread.
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Thai, QLocale::Thailand));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// Decodes UTF-8 made only of well-formed characters of one to three bytes
// that are neither surrogates nor noncharacters, with no byte-order mark at
// the start of the text (`first` is where the text's first code unit goes);
// such a text has one decoding, the one QString::fromUtf8 gives. Writes to
// `out` (room for as many code units as the text has bytes) and returns the
// end, or nullptr for anything else (a malformed or overlong sequence, a
// character beyond U+FFFF, ...), which the caller leaves to QString::fromUtf8.
char16_t* decodePlainUtf8(QByteArrayView text, char16_t* out, const char16_t* first)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = s + text.size();
    char16_t* d = out;
    while (s < end) {
        const unsigned c = *s;
        if (c < 0x80) {
            *d++ = char16_t(c);
            ++s;
            continue;
        }
        if (end - s >= 3 && c == 0xE0 && (s[1] == 0xB8 || s[1] == 0xB9) && (s[2] & 0xC0) == 0x80) {
            // the Thai block, U+0E00 to U+0E7F
            *d++ = char16_t(0x0E00 | ((s[1] & 0x01u) << 6) | (s[2] & 0x3Fu));
            s += 3;
            continue;
        }
        if ((c & 0xF0) == 0xE0) { // other three-byte characters
            if (end - s < 3 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80)
                return nullptr;
            const unsigned u = ((c & 0x0F) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
            // overlong, surrogate, or (lead EF) noncharacter or an opening byte-order mark
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF)
                || (c == 0xEF && ((u >= 0xFDD0 && u <= 0xFDEF) || u >= 0xFFFE || (u == 0xFEFF && d == first))))
                return nullptr;
            *d++ = char16_t(u);
            s += 3;
            continue;
        }
        if (c < 0xC2 || c > 0xDF || end - s < 2 || (s[1] & 0xC0) != 0x80)
            return nullptr;
        *d++ = char16_t(((c & 0x1F) << 6) | (s[1] & 0x3F));
        s += 2;
    }
    return d;
}

// The length of the bytes both texts begin with, shortened to the start of a
// character (never inside one of them), so the two decode alike that far.
qsizetype commonStart(QByteArrayView a, QByteArrayView b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype n = 0;
    while (n + 8 <= shorter && std::memcmp(a.data() + n, b.data() + n, 8) == 0)
        n += 8;
    while (n < shorter && a[n] == b[n])
        ++n;
    const auto continues = [](QByteArrayView t, qsizetype i) { return i < t.size() && (uchar(t[i]) & 0xC0) == 0x80; };
    while (n > 0 && (continues(a, n) || continues(b, n)))
        --n;
    return n;
}

int compareUtf8(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareThaiUtf8(
        QByteArrayView(static_cast<const char*>(a), lengthA), QByteArrayView(static_cast<const char*>(b), lengthB));
}

} // namespace

int compareThai(QStringView a, QStringView b)
{
    const int order = thaiCollator().compare(a, b);
    if (order != 0)
        return order;
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareThai(const QString& a, const QString& b)
{
    return compareThai(QStringView(a), QStringView(b));
}

int compareThaiUtf8(QByteArrayView a, QByteArrayView b)
{
    // Equal bytes are an equal text: the collator and the code points both
    // give 0.
    if (a == b)
        return 0;
    // Names fit on the stack; a longer text takes the heap.
    constexpr qsizetype kOnStack = 256;
    char16_t stackA[kOnStack], stackB[kOnStack];
    std::unique_ptr<char16_t[]> heapA, heapB;
    char16_t* wideA = stackA;
    char16_t* wideB = stackB;
    if (a.size() > kOnStack)
        wideA = (heapA = std::make_unique<char16_t[]>(size_t(a.size()))).get();
    if (b.size() > kOnStack)
        wideB = (heapB = std::make_unique<char16_t[]>(size_t(b.size()))).get();
    // Names next to each other in a sort often begin alike: what both begin
    // with is decoded once.
    const qsizetype same = commonStart(a, b);
    char16_t* endA = decodePlainUtf8(a.first(same), wideA, wideA);
    char16_t* endB = nullptr;
    if (endA) {
        endB = std::copy(wideA, endA, wideB);
        endA = decodePlainUtf8(a.sliced(same), endA, wideA);
        if (endA)
            endB = decodePlainUtf8(b.sliced(same), endB, wideB);
    }
    if (endA && endB)
        return compareThai(QStringView(wideA, endA - wideA), QStringView(wideB, endB - wideB));
    return compareThai(QString::fromUtf8(a), QString::fromUtf8(b));
}

bool registerThaiCollation(const QSqlDatabase& connection, QString* error)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        if (error)
            *error = QStringLiteral("the connection has no SQLite handle for the Thai collation");
        return false;
    }
    sqlite3* db = *static_cast<sqlite3* const*>(handle.data());
    if (!db) {
        if (error)
            *error = QStringLiteral("the SQLite connection is not open");
        return false;
    }
    const int rc = sqlite3_create_collation_v2(db, kSqliteThaiCollation, SQLITE_UTF8, nullptr, compareUtf8, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("registering the Thai collation: ") + QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    return true;
}

} // namespace velmora::db
