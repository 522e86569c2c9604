#include "app/ProjectItemDelegate.h"

#include "project/ProjectItemRoles.h"

#include <QPainter>
#include <QPixmap>

namespace quillon {

QIcon ProjectItemDelegate::recordedIcon(const QIcon &icon, const QSize &size)
{
    QPixmap pixmap = icon.pixmap(size);
    if (pixmap.isNull()) {
        pixmap = QPixmap(size);
        pixmap.fill(Qt::transparent);
    }
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = pixmap.width() / pixmap.devicePixelRatio() * 0.55;
    const QRectF mark(pixmap.width() / pixmap.devicePixelRatio() - d, pixmap.height() / pixmap.devicePixelRatio() - d,
                      d, d);
    // A small disc with a tick: the item is already on the disc.
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(0, 128, 0));
    p.drawEllipse(mark);
    p.setPen(QPen(Qt::white, std::max<qreal>(1.2, d / 6)));
    p.drawPolyline(QPolygonF({QPointF(mark.left() + d * 0.25, mark.top() + d * 0.52),
                              QPointF(mark.left() + d * 0.43, mark.top() + d * 0.70),
                              QPointF(mark.left() + d * 0.75, mark.top() + d * 0.32)}));
    return QIcon(pixmap);
}

void ProjectItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->features & QStyleOptionViewItem::HasDecoration))
        return;
    if (option->state & QStyle::State_Selected) {
        const QVariant open = index.data(OpenIconRole);
        if (open.isValid() && !open.value<QIcon>().isNull())
            option->icon = open.value<QIcon>();
    }
    if (index.data(RecordedRole).toBool())
        option->icon = recordedIcon(option->icon, option->decorationSize);
}

} // namespace quillon
