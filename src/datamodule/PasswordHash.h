#pragma once

#include <QString>

#include <cstddef>

// Passwords kept as Argon2id hashes (libsodium's crypto_pwhash_str): the
// stored text names the algorithm and its cost next to the salt and the
// hash, so a later program can raise the cost and still check the older
// ones. A password itself is never stored.
namespace PasswordHash {

// What one hash costs: passes over the memory, and the memory in bytes.
struct Cost
{
    unsigned long long passes;
    std::size_t memory;
};

// The cost of the hashes this program makes: about a third of a second per
// check on an office computer, so that trying passwords one after another
// against a copy of the database is slow.
Cost current();

// The stored form of `password`. DbError when the computer lacks the memory.
QString make(const QString &password);

// Whether `password` is the one `stored` was made from. A stored text that
// is no hash of ours (altered by hand, empty, or asking for an absurd cost)
// matches nothing.
bool matches(const QString &stored, const QString &password);

} // namespace PasswordHash
