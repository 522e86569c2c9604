#include "settings/Ciphers.h"

#include "platform/DebugLog.h"

#include <QCryptographicHash>
#include <openssl/evp.h>

#include <cstdint>
#include <memory>

namespace quillon {

namespace {

// The running key's three numbers; any change makes every stored password unreadable.
constexpr std::uint32_t kPasswordStart = 7193;
constexpr std::uint32_t kPasswordMultiplier = 40357;
constexpr std::uint32_t kPasswordIncrement = 512921;

std::uint32_t nextKey(std::uint32_t cipherByte, std::uint32_t key)
{
    return ((cipherByte + key) * kPasswordMultiplier + kPasswordIncrement) & 0xFFFFu;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

constexpr int kBlock = 16;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// One block through AES-192 in ECB, no padding.
QByteArray aesBlock(const QByteArray &key, const QByteArray &block, bool encrypt)
{
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    QByteArray out(kBlock + kBlock, '\0');
    int written = 0;
    int tail = 0;
    const auto *k = reinterpret_cast<const unsigned char *>(key.constData());
    auto *o = reinterpret_cast<unsigned char *>(out.data());
    if (!ctx || EVP_CipherInit_ex(ctx.get(), EVP_aes_192_ecb(), nullptr, k, nullptr, encrypt ? 1 : 0) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
        EVP_CipherUpdate(ctx.get(), o, &written, reinterpret_cast<const unsigned char *>(block.constData()),
                         kBlock) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), o + written, &tail) != 1 || written + tail != kBlock) {
        qCCritical(lcQuillon) << "AES-192 block operation failed";
        return QByteArray(kBlock, '\0');
    }
    out.truncate(kBlock);
    return out;
}

QByteArray xorBytes(const QByteArray &a, const QByteArray &b, qsizetype count)
{
    QByteArray out(count, '\0');
    for (qsizetype i = 0; i < count; ++i)
        out[i] = char(a[i] ^ b[i]);
    return out;
}

} // namespace

QString recorderIndexKey()
{
    return QStringLiteral("Qv7#lantern-Osprey");
}

QString xorEncode(const QString &value, const QString &key)
{
    QString out;
    out.reserve(value.size() * 2);
    for (qsizetype i = 0; i < value.size(); ++i) {
        int code = value[i].unicode();
        if (!key.isEmpty())
            code ^= key[i % key.size()].unicode();
        out += QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0'));
    }
    return out;
}

QString xorDecode(const QString &written, const QString &key)
{
    QString out;
    for (qsizetype i = 0; i + 1 < written.size(); i += 2) {
        const int high = hexDigit(written[i]);
        const int low = hexDigit(written[i + 1]);
        int code = (high < 0 || low < 0) ? 32 : high * 16 + low;
        const qsizetype position = i / 2;
        if (!key.isEmpty())
            code ^= key[position % key.size()].unicode();
        out += QChar(char16_t(code));
    }
    return out;
}

QString encipherPassword(const QByteArray &plain)
{
    QString out;
    out.reserve(plain.size() * 3);
    std::uint32_t key = kPasswordStart;
    for (const char ch : plain) {
        const std::uint32_t c = (std::uint32_t(std::uint8_t(ch)) ^ (key >> 8)) & 0xFFu;
        out += QStringLiteral("%1").arg(c, 3, 10, QLatin1Char(' '));
        key = nextKey(c, key);
    }
    return out;
}

QByteArray decipherPassword(const QString &enciphered)
{
    QByteArray out;
    std::uint32_t key = kPasswordStart;
    for (qsizetype i = 0; i < enciphered.size(); i += 3) {
        bool ok = false;
        std::uint32_t group = enciphered.mid(i, 3).trimmed().toUInt(&ok);
        if (!ok)
            group = 0;
        out += char((group ^ (key >> 8)) & 0xFFu);
        key = nextKey(group & 0xFFu, key);
    }
    return out;
}

QByteArray decipherStoredPassword(const QString &stored)
{
    const qsizetype rest = stored.size() % 3;
    if (rest == 0)
        return decipherPassword(stored);
    return decipherPassword(QString(3 - rest, QLatin1Char(' ')) + stored);
}

QString encipherPasswordText(const QString &plain)
{
    return encipherPassword(plain.toUtf8());
}

QString decipherPasswordText(const QString &enciphered)
{
    return QString::fromUtf8(decipherPassword(enciphered));
}

QByteArray buildKeyString(const QByteArray &first, const QByteArray &second)
{
    QByteArray out;
    out.reserve(first.size() + second.size());
    for (qsizetype i = 0; i < first.size(); ++i)
        out += char(first[i] + (i + 1) % 3);
    for (qsizetype i = 0; i < second.size(); ++i)
        out += char(second[i] + ((i + 1) % 2 == 1 ? 1 : 0));
    return out;
}

QByteArray dataFileKeyString()
{
    // Kept in two disguised parts so that the key text does not stand in the binary as is.
    return buildKeyString(QByteArrayLiteral("Psikjom+D`r"), QByteArrayLiteral("`-Eike,2/25!"));
}

DataFileCipher::DataFileCipher(const QByteArray &keyString)
    : m_key(QCryptographicHash::hash(keyString, QCryptographicHash::Sha1) + QByteArray(4, '\0'))
{
    m_iv = encryptBlock(QByteArray(kBlock, '\0'));
}

QByteArray DataFileCipher::encryptBlock(const QByteArray &block) const
{
    return aesBlock(m_key, block, true);
}

QByteArray DataFileCipher::decryptBlock(const QByteArray &block) const
{
    return aesBlock(m_key, block, false);
}

QByteArray DataFileCipher::encipher(const QByteArray &plain) const
{
    QByteArray out;
    out.reserve(plain.size());
    QByteArray previous = m_iv;
    const qsizetype full = plain.size() / kBlock * kBlock;
    for (qsizetype at = 0; at < full; at += kBlock) {
        previous = encryptBlock(xorBytes(plain.mid(at, kBlock), previous, kBlock));
        out += previous;
    }
    if (full < plain.size())
        out += xorBytes(plain.mid(full), encryptBlock(previous), plain.size() - full);
    return out;
}

QByteArray DataFileCipher::decipher(const QByteArray &enciphered) const
{
    QByteArray out;
    out.reserve(enciphered.size());
    QByteArray previous = m_iv;
    const qsizetype full = enciphered.size() / kBlock * kBlock;
    for (qsizetype at = 0; at < full; at += kBlock) {
        const QByteArray block = enciphered.mid(at, kBlock);
        out += xorBytes(decryptBlock(block), previous, kBlock);
        previous = block;
    }
    if (full < enciphered.size())
        out += xorBytes(enciphered.mid(full), encryptBlock(previous), enciphered.size() - full);
    return out;
}

} // namespace quillon
