#pragma once
// Dates stored the traditional way: days since 30 December 1899, the fraction being the time.
#include <QDateTime>

namespace quillon {

double ToOleDate(const QDateTime &when);
QDateTime FromOleDate(double days);

} // namespace quillon
