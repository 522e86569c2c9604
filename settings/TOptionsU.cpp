#include "settings/TOptionsU.h"

#include "platform/DateTime.h"
#include "settings/Ciphers.h"

#include <cmath>
#include <cstdlib>

namespace quillon {

QString TBmpItem::SplTo() const
{
    return decipherPasswordText(FSplTo);
}
void TBmpItem::setSplTo(const QString &address)
{
    FSplTo = encipherPasswordText(address);
}
QString TBmpItem::BanTo() const
{
    return decipherPasswordText(FBanTo);
}
void TBmpItem::setBanTo(const QString &address)
{
    FBanTo = encipherPasswordText(address);
}

QString TOptions::HTTPProxyPassword() const
{
    return decipherPasswordText(FHTTPProxyPassword);
}
void TOptions::setHTTPProxyPassword(const QString &password)
{
    FHTTPProxyPassword = encipherPasswordText(password);
}
QString TOptions::FTPProxyPassword() const
{
    return decipherPasswordText(FFTPProxyPassword);
}
void TOptions::setFTPProxyPassword(const QString &password)
{
    FFTPProxyPassword = encipherPasswordText(password);
}
QString TOptions::Password() const
{
    return decipherPasswordText(FPassword);
}
void TOptions::setPassword(const QString &password)
{
    FPassword = encipherPasswordText(password);
}

bool UpdateDue(const TOptions &options, const QDate &today)
{
    const QDate epoch(1899, 12, 30);
    const qint64 lastDay = qint64(std::trunc(options.LastU));
    const qint64 todayDay = epoch.daysTo(today);
    return std::llabs(todayDay - lastDay) >= 7 || lastDay > todayDay;
}

bool UpdateDue(const TOptions &options)
{
    return UpdateDue(options, QDate::currentDate());
}

} // namespace quillon
