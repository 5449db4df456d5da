#include "db/ThaiCollation.h"

#include "db/Dialect.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDriver>
#include <QVarLengthArray>
#include <QVariant>

#include <sqlite3.h>

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

using Utf16 = QVarLengthArray<char16_t, 128>;

// Decodes UTF-8 made only of well-formed characters of one to three bytes
// that are neither surrogates nor noncharacters, with no byte-order mark at
// the start; such a text has one decoding, the one QString::fromUtf8 gives.
// False for anything else (a malformed or overlong sequence, a character
// beyond U+FFFF, ...), which the caller leaves to QString::fromUtf8 itself.
bool decodePlainUtf8(QByteArrayView text, Utf16& out)
{
    out.resize(text.size()); // never more code units than bytes
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = s + text.size();
    char16_t* const first = out.data();
    char16_t* d = first;
    while (s < end) {
        const unsigned c = *s;
        if (c < 0x80) {
            *d++ = char16_t(c);
            ++s;
            continue;
        }
        if ((c & 0xF0) == 0xE0) { // three bytes: Thai and most other scripts
            if (end - s < 3 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80)
                return false;
            const unsigned u = ((c & 0x0F) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
            // overlong, surrogate, or (lead EF) noncharacter or an opening byte-order mark
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF)
                || (c == 0xEF && ((u >= 0xFDD0 && u <= 0xFDEF) || u >= 0xFFFE || (u == 0xFEFF && d == first))))
                return false;
            *d++ = char16_t(u);
            s += 3;
            continue;
        }
        if (c < 0xC2 || c > 0xDF || end - s < 2 || (s[1] & 0xC0) != 0x80)
            return false;
        *d++ = char16_t(((c & 0x1F) << 6) | (s[1] & 0x3F));
        s += 2;
    }
    out.resize(d - first);
    return true;
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
    Utf16 wideA, wideB;
    if (decodePlainUtf8(a, wideA) && decodePlainUtf8(b, wideB))
        return compareThai(QStringView(wideA.data(), wideA.size()), QStringView(wideB.data(), wideB.size()));
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
