#pragma once
// The web-service state kept in the enciphered data file: last update check, newest
// version, banner list, proxy and a few counters. The main window owns one for the whole
// run; the data-file store reads and writes it.
//
// The passwords and the banners' link addresses are held enciphered with the password
// cipher even in memory, as the download manager that shares this object always did: the
// getters decipher and the setters encipher, and the data file keeps the enciphered form.
#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>

namespace quillon {

// Picture formats of the banner entries. The ordinals are stored.
enum TMyFileType { ftPng = 0, ftJpg, ftGif, ftZip, ftJpg2000, ftBmp, ftEmf, ftNone };
constexpr int kMyFileTypeCount = 8;

// Resize filters (stored, unused). The ordinals are stored.
enum TResizeType { rtNO = 0, rtTriangle, rtHermite, rtBell, rtBSpline, rtLanczos, rtMitchel };
constexpr int kResizeTypeCount = 7;

// One banner entry of the data file; the fields keep their stored order.
struct TBmpItem {
    QString SplFrom;          // web address of the splash picture
    std::uint32_t SplCRC = 0; // CRC-32 of the splash picture file, 0 when unknown
    bool SplOK = false;       // the splash picture is here with the right CRC
    QString FSplTo;           // enciphered: address opened by a click on the splash
    TMyFileType SplType = ftPng;
    TResizeType SplResize = rtNO;
    std::uint16_t X = 0;
    std::uint16_t Y = 0;
    QString BanFrom; // web address of the banner picture
    bool BanOK = false;
    std::uint32_t BanCRC = 0;
    QString FBanTo; // enciphered: address opened by a click on the banner
    TMyFileType BanType = ftPng;

    QString SplTo() const;
    void setSplTo(const QString &address);
    QString BanTo() const;
    void setBanTo(const QString &address);

    bool operator==(const TBmpItem &) const = default;
};

using TBmpCollection = QList<TBmpItem>;

struct TOptions {
    QString NewestVersion;
    double ExpV = 0;
    double LastU = 0; // date-time, days since 30 December 1899
    bool WantAds = true;
    bool ShouldShowAd = false;
    TBmpCollection Bmps;
    int LastBmp = 0;
    int LastSpl = 0;
    int RxSpin1 = 0;
    double EditVBR = 0; // date of the last visit of the maker's home page
    bool UseHTTPProxy = false;
    QString HTTPProxy;
    int HTTPProxyPort = 0;
    QString HTTPProxyUser;
    QString FHTTPProxyPassword; // enciphered
    QString FFTPProxyPassword;  // enciphered; the download manager's, kept as it is
    QString FPassword;          // enciphered; the download manager's, kept as it is
    QString Identify;
    int MaxConnections = 0;
    int InternetSpeed = 0;
    bool UseTruncate = false;
    QString TCPUser;
    QString TCPPassword;

    QString HTTPProxyPassword() const;
    void setHTTPProxyPassword(const QString &password);
    QString FTPProxyPassword() const;
    void setFTPProxyPassword(const QString &password);
    QString Password() const;
    void setPassword(const QString &password);

    bool operator==(const TOptions &) const = default;
};

// True when the last update check lies 7 or more whole days from today (either way), or
// after today.
bool UpdateDue(const TOptions &options, const QDate &today);
bool UpdateDue(const TOptions &options);

} // namespace quillon
