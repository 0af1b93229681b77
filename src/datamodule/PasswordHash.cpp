#include "PasswordHash.h"

#include "dataset/DbError.h"

#include <QRegularExpression>

#include <sodium.h>

namespace PasswordHash {

namespace {

// Measured with kelmara-bench --senhas: about 0.28 s per check on the
// (busy) two cores where it is built.
constexpr Cost kCost{3, std::size_t(96) << 20};

// The most a stored hash may ask for before it is checked: a hash altered by
// hand could otherwise ask for gigabytes or hours. Far above kCost, so that
// a later program may raise the cost.
constexpr unsigned long long kMostPasses = 64;
constexpr unsigned long long kMostMemoryKiB = 1ull << 20; // 1 GiB

void startSodium()
{
    static const bool started = sodium_init() >= 0;
    if (!started)
        throw DbError(QStringLiteral("A biblioteca de criptografia (libsodium) não pôde ser iniciada."));
}

// "$argon2id$v=19$m=65536,t=3,p=1$salt$hash" within the limits above.
bool withinLimits(const QString &stored)
{
    static const QRegularExpression form(QStringLiteral("^\\$argon2id?\\$v=\\d+\\$m=(\\d{1,10}),t=(\\d{1,10}),p=\\d{1,3}\\$"));
    const QRegularExpressionMatch m = form.match(stored);
    return m.hasMatch() && m.captured(1).toULongLong() <= kMostMemoryKiB && m.captured(2).toULongLong() <= kMostPasses;
}

} // namespace

Cost current()
{
    return kCost;
}

QString make(const QString &password)
{
    startSodium();
    const QByteArray bytes = password.toUtf8();
    char stored[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(stored, bytes.constData(), static_cast<unsigned long long>(bytes.size()), kCost.passes,
                          kCost.memory)
        != 0)
        throw DbError(QStringLiteral("Não há memória livre bastante para proteger a senha. Feche outros programas e "
                                     "tente de novo."));
    return QString::fromLatin1(stored);
}

bool matches(const QString &stored, const QString &password)
{
    if (!withinLimits(stored))
        return false;
    startSodium();
    const QByteArray hash = stored.toLatin1();
    if (hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(), static_cast<unsigned long long>(bytes.size()))
           == 0;
}

} // namespace PasswordHash
