#pragma once

#include <QString>

namespace velmora::db {

// Salted slow hash (argon2id) of a password, as stored in EP_TR_User.Upassword.
QString hashPassword(const QString& password);
// Tests only: hash at the library's minimum cost from now on (a hash made so
// still verifies like any other; verifying takes the cost stored in the hash).
void useCheapPasswordHashForTests();
// True if stored is one of our hashes (as opposed to an old plain-text password).
bool isPasswordHash(const QString& stored);
// Checks a typed password against a stored value: a hash is verified, a plain
// text is compared exactly, letter case and blanks included. An empty password,
// typed or stored, never matches.
bool passwordMatches(const QString& stored, const QString& typed);

} // namespace velmora::db
