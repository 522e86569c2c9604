#include "settings/RecorderList.h"

#include "discaccess/CDDrives.h"
#include "discaccess/ModePageCommands.h"
#include "platform/DebugLog.h"

namespace quillon {

RecorderListModel::RecorderListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

RecorderListModel::~RecorderListModel() = default;

QString RecorderListModel::itemText(QChar letter, const QString &product, const QString &vendor,
                                    const QString &address)
{
    return QString(letter) + QStringLiteral(":  ") + product + QStringLiteral("  (") + vendor +
           QStringLiteral(")  ") + address;
}

void RecorderListModel::build(disc::TkseCDDrives &drives)
{
    std::vector<RecorderItem> items;
    try {
        for (int i = 0; i < drives.Count(); ++i) {
            RecorderItem item;
            disc::TkseCDDrive &drive = drives.Drive(i);
            item.address = QString::fromStdString(drive.ScsiAddressText());
            drive.GetCapabilities2(item.page);
            const QString vendor = QString::fromStdString(drives.VendorText(i)).trimmed();
            const QString product = QString::fromStdString(drives.ProductText(i)).trimmed();
            const disc::DriveReference ref = drives.Reference(i);
            const char letter = drives.DriveLetter(i);
            item.text = itemText(QChar::fromLatin1(letter ? letter : '?'), product, vendor, item.address);
            item.identity = {vendor, product, QString::fromStdString(ref.node)};
            items.push_back(std::move(item));
        }
    } catch (const std::exception &e) {
        qCWarning(lcQuillon) << "recorder list ends early:" << e.what();
    }
    setItems(std::move(items));
}

void RecorderListModel::setItems(std::vector<RecorderItem> items)
{
    beginResetModel();
    m_items = std::move(items);
    m_firstRecorder = -1;
    for (int i = 0; i < count() && m_firstRecorder < 0; ++i)
        if (canRecord(i))
            m_firstRecorder = i;
    endResetModel();
}

int RecorderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant RecorderListModel::data(const QModelIndex &index, int role) const
{
    const RecorderItem *it = item(index.row());
    if (!it || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return it->text;
    return {};
}

const RecorderItem *RecorderListModel::item(int row) const
{
    return row >= 0 && row < count() ? &m_items[std::size_t(row)] : nullptr;
}

bool RecorderListModel::canRecord(int row) const
{
    const RecorderItem *it = item(row);
    return it && disc::CapabilitiesPage(it->page).canWrite();
}

bool RecorderListModel::burnproof(int row) const
{
    const RecorderItem *it = item(row);
    return it && disc::CapabilitiesPage(it->page).underrunProtection();
}

int RecorderListModel::rowOf(const RecorderIdentity &identity) const
{
    if (identity.isEmpty())
        return -1;
    for (int i = 0; i < count(); ++i)
        if (m_items[std::size_t(i)].identity == identity)
            return i;
    // Device nodes follow the order the system found the drives in, so a drive may come
    // back under another node: the same vendor and product then still name it.
    for (int i = 0; i < count(); ++i) {
        const RecorderIdentity &id = m_items[std::size_t(i)].identity;
        if (id.vendor == identity.vendor && id.product == identity.product)
            return i;
    }
    return -1;
}

} // namespace quillon
