#pragma once
// Draws the project's items as the Data CD page shows them: a selected folder with its open
// icon, and items recorded on an earlier session with the "recorded" mark on their icon.
#include <QStyledItemDelegate>

namespace quillon {

class ProjectItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The icon with the "recorded" mark in its lower right corner.
    static QIcon recordedIcon(const QIcon &icon, const QSize &size);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace quillon
