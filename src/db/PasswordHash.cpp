#include "db/PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

namespace velmora::db {

namespace {
// The tests hash hundreds of passwords; they use the minimum cost. The program
// never calls the switch.
bool cheapHash = false;

void initSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium cannot be initialised");
}
} // namespace

QString hashPassword(const QString& password)
{
    initSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
            cheapHash ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
            cheapHash ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

void useCheapPasswordHashForTests()
{
    cheapHash = true;
}

bool isPasswordHash(const QString& stored)
{
    return stored.startsWith(QLatin1String("$argon2id$")) || stored.startsWith(QLatin1String("$argon2i$"));
}

bool passwordMatches(const QString& stored, const QString& typed)
{
    // An empty password never logs in, even where an empty one is stored.
    if (typed.isEmpty() || stored.isEmpty())
        return false;
    if (!isPasswordHash(stored))
        return stored == typed; // an older installation's plain text, compared exactly
    initSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), static_cast<unsigned long long>(utf8.size()))
        == 0;
}

} // namespace velmora::db
