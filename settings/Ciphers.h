#pragma once
// The three ciphers of the program's stored state:
//
// - the scramble of the stored recorder index in the settings file (XOR with a key text,
//   written as hexadecimal pairs);
// - the password cipher (a stream cipher with a 16-bit running key, three decimal digits per
//   byte) for the proxy password in the settings file and the enciphered fields of the data
//   file;
// - the data-file cipher: AES-192 under SHA1(key string) padded with four zero bytes.
//   Full blocks run in CBC under an IV that is the key's encryption of a zero block; a tail
//   shorter than a block is XORed with the encryption of the last ciphertext block (or of
//   the IV), so the enciphered file is exactly as long as its content.
#include <QByteArray>
#include <QString>

namespace quillon {

// The key text of the recorder-index scramble (18 characters).
QString recorderIndexKey();
// Each character XORed with the key character at its position (modulo the key length),
// written as two lower-case hexadecimal digits. An empty key leaves the codes as they are.
QString xorEncode(const QString &value, const QString &key);
// Pairs of hexadecimal digits back to characters; an odd last digit is ignored and a pair
// that is not hexadecimal reads as 32.
QString xorDecode(const QString &written, const QString &key);

// The password cipher on bytes: three characters per byte, "%3d" each.
QString encipherPassword(const QByteArray &plain);
// Groups of three characters from the first; a group that is no number counts as 0 and a
// shorter last group is read the same way.
QByteArray decipherPassword(const QString &enciphered);
// For a stored value that a reader may have trimmed (or a hand may have written without
// its leading blanks): pads on the left to a multiple of three before deciphering, since
// the enciphered text can only lose blanks at its start.
QByteArray decipherStoredPassword(const QString &stored);
// The same over texts in UTF-8.
QString encipherPasswordText(const QString &plain);
QString decipherPasswordText(const QString &enciphered);

// The 23-character key text from its two stored parts: each byte of the first is raised by
// its position (from 1) modulo 3, each byte of the second at an odd position by 1.
QByteArray buildKeyString(const QByteArray &first, const QByteArray &second);
// The data file's own key text.
QByteArray dataFileKeyString();

class DataFileCipher {
public:
    explicit DataFileCipher(const QByteArray &keyString);

    QByteArray encipher(const QByteArray &plain) const;
    QByteArray decipher(const QByteArray &enciphered) const;

    QByteArray key() const { return m_key; } // 24 bytes
    QByteArray iv() const { return m_iv; }   // 16 bytes

private:
    QByteArray encryptBlock(const QByteArray &block) const;
    QByteArray decryptBlock(const QByteArray &block) const;
    QByteArray m_key;
    QByteArray m_iv;
};

} // namespace quillon
