#pragma once
// The web-service state kept in the enciphered data file: last update check, newest
// version, banner list, proxy and a few counters. The file format and its cipher live with
// the data-file store; this is the object the main window owns for the whole run.
#include <QList>
#include <QString>

namespace quillon {

// One banner entry of the data file.
struct TBmpItem {
    QString fileName;
    QString link;
};

struct TOptions {
    QString NewestVersion;
    double ExpV = 0;
    double LastU = 0;            // date-time, days since 30 December 1899
    bool WantAds = true;
    bool ShouldShowAd = false;
    QList<TBmpItem> Bmps;
    int LastBmp = 0;
    int LastSpl = 0;
    int RxSpin1 = 0;
    double EditVBR = 0;          // date of the last visit of the maker's home page
    bool UseHTTPProxy = false;
    QString HTTPProxy;
    int HTTPProxyPort = 0;
    QString HTTPProxyUser;
    QString HTTPProxyPassword;
    QString Identify;
    int MaxConnections = 0;
    int InternetSpeed = 0;
    bool UseTruncate = false;
    QString TCPUser;
    QString TCPPassword;
};

} // namespace quillon
