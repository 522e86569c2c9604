#include "platform/DateTime.h"

namespace quillon {

namespace {
const QDateTime &epoch()
{
    static const QDateTime e(QDate(1899, 12, 30), QTime(0, 0), Qt::LocalTime);
    return e;
}
} // namespace

double ToOleDate(const QDateTime &when) { return double(epoch().msecsTo(when)) / 86400000.0; }

QDateTime FromOleDate(double days) { return epoch().addMSecs(qint64(days * 86400000.0)); }

} // namespace quillon
