#include "project/ProjectItemRoles.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QStyle>

namespace quillon {

namespace {

QIcon styleIcon(QStyle::StandardPixmap pixmap)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) && QApplication::style())
        return QApplication::style()->standardIcon(pixmap);
    return QFileIconProvider().icon(QAbstractFileIconProvider::Folder);
}

} // namespace

QIcon defaultClosedFolderIcon()
{
    return styleIcon(QStyle::SP_DirClosedIcon);
}

QIcon defaultOpenFolderIcon()
{
    return styleIcon(QStyle::SP_DirOpenIcon);
}

} // namespace quillon
