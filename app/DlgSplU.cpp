#include "app/DlgSplU.h"

namespace quillon {

TDlgSpl::TDlgSpl(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("DlgSpl"));
}

} // namespace quillon
