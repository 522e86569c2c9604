#include "settings/Ciphers.h"
#include "settings/Crc32.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const QByteArray kExampleKey = buildKeyString("Dvalnld+Kdw", ",Ssrhnf-/113");

TEST(DataFileCipherTest, KeyStringIsBuiltFromItsTwoParts)
{
    EXPECT_EQ(kExampleKey, QByteArray("Example-Key-String-0123"));
    EXPECT_EQ(dataFileKeyString().size(), 23);
}

TEST(DataFileCipherTest, KeyAndIvFollowTheProfile)
{
    const DataFileCipher cipher(kExampleKey);
    EXPECT_EQ(cipher.key().toHex(), QByteArray("0f21e788e992f662d5418613f25a6d6a13fa74f6") + "00000000");
    EXPECT_EQ(cipher.iv().toHex(), QByteArray("24d52ff362a584b160e2ebb7e3e42eb7"));
}

TEST(DataFileCipherTest, Vectors)
{
    struct Case {
        const char *name;
        QByteArray plain;
        QByteArray hex;
    } cases[] = {
        {"empty", "", ""},
        {"one byte: tail only, against the IV", "A", "ed"},
        {"one full block", "0123456789abcdef", "bb1fedd6fde84d6f96f4037d9846216f"},
        {"a block and a tail", "0123456789abcdefXYZ", "bb1fedd6fde84d6f96f4037d9846216f157613"},
    };
    const DataFileCipher cipher(kExampleKey);
    for (const Case &c : cases) {
        EXPECT_EQ(cipher.encipher(c.plain).toHex(), c.hex) << c.name;
        EXPECT_EQ(cipher.decipher(QByteArray::fromHex(c.hex)), c.plain) << c.name;
    }
}

TEST(DataFileCipherTest, EveryLengthRoundTripsAtItsOwnSize)
{
    const DataFileCipher cipher(dataFileKeyString());
    QByteArray plain;
    for (int n = 0; n < 70; ++n) {
        const QByteArray enciphered = cipher.encipher(plain);
        ASSERT_EQ(enciphered.size(), plain.size());
        ASSERT_EQ(cipher.decipher(enciphered), plain) << "length " << n;
        plain += char(n * 37);
    }
}

TEST(PasswordCipherTest, EveryByteValueRoundTripsAtThreeCharactersEach)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QString enciphered = encipherPassword(one);
        ASSERT_EQ(enciphered.size(), 3) << "byte " << b;
        ASSERT_EQ(decipherPassword(enciphered), one) << "byte " << b << " as " << enciphered.toStdString();
        all += char(b);
    }
    const QString enciphered = encipherPassword(all);
    EXPECT_EQ(enciphered.size(), 3 * 256);
    EXPECT_EQ(decipherPassword(enciphered), all);
    // Texts that start with blanks and those whose cipher starts with blanks both survive.
    for (const char *text : {"   secret", " ", "  a  "})
        EXPECT_EQ(decipherPasswordText(encipherPasswordText(QString::fromLatin1(text))),
                  QString::fromLatin1(text));
}

TEST(PasswordCipherTest, EachGroupIsARightAlignedDecimal)
{
    const QString enciphered = encipherPassword(QByteArray("password with some length"));
    for (qsizetype i = 0; i < enciphered.size(); i += 3) {
        const QString group = enciphered.mid(i, 3);
        bool ok = false;
        const int value = group.toInt(&ok);
        ASSERT_TRUE(ok && value >= 0 && value <= 255) << group.toStdString();
        EXPECT_EQ(group, QStringLiteral("%1").arg(value, 3)) << "group at " << i;
    }
    EXPECT_EQ(encipherPassword(QByteArray()), QString());
    EXPECT_EQ(decipherPassword(QString()), QByteArray());
}

TEST(PasswordCipherTest, TrimmedStoredValueIsPaddedBackOnTheLeft)
{
    // Find a text whose cipher starts with blanks, as the trimming reader would see it.
    for (int b = 0; b < 256; ++b) {
        const QByteArray plain = QByteArray(1, char(b)) + "xy";
        const QString enciphered = encipherPassword(plain);
        if (!enciphered.startsWith(QLatin1Char(' ')))
            continue;
        const QString trimmed = enciphered.trimmed();
        EXPECT_EQ(decipherStoredPassword(trimmed), plain) << "trimmed " << trimmed.toStdString();
        EXPECT_NE(decipherPassword(trimmed), plain) << "unpadded reading should differ";
        return;
    }
    FAIL() << "no byte enciphers with a leading blank";
}

TEST(PasswordCipherTest, GroupThatIsNoNumberCountsAsZero)
{
    const QByteArray zeroGroup = decipherPassword(QStringLiteral("  0"));
    EXPECT_EQ(decipherPassword(QStringLiteral("abc")), zeroGroup);
}

TEST(RecorderIndexScrambleTest, Examples)
{
    const QString key = recorderIndexKey();
    ASSERT_EQ(key.size(), 18);
    const QString zero = xorEncode(QStringLiteral("0"), key);
    EXPECT_EQ(zero.size(), 2);
    EXPECT_EQ(zero, zero.toLower());
    const QString ten = xorEncode(QStringLiteral("10"), key);
    EXPECT_EQ(ten.size(), 4);
    EXPECT_EQ(xorDecode(ten, key), QStringLiteral("10"));
    EXPECT_EQ(xorDecode(ten + QLatin1Char('7'), key), QStringLiteral("10")) << "odd last digit is ignored";
    EXPECT_EQ(xorDecode(QStringLiteral("zz"), key), QString(QChar(char16_t(32 ^ key[0].unicode()))))
        << "an invalid pair reads as 32";
    EXPECT_EQ(xorDecode(ten.left(2) + QStringLiteral("g0"), key).left(1), QStringLiteral("1"));
    EXPECT_EQ(xorEncode(QStringLiteral("0"), QString()), QStringLiteral("30")) << "empty key keeps the code";
    EXPECT_EQ(xorDecode(QStringLiteral("3130"), QString()), QStringLiteral("10"));
}

TEST(Crc32Test, KnownValue)
{
    EXPECT_EQ(crc32(QByteArrayView("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(QByteArrayView("")), 0u);
}

} // namespace
