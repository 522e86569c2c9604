#pragma once
// The recorder list of the options dialog: one item per drive of the drive list, in its
// order (so a row is a drive index), each with its own copy of the drive's raw page 2Ah
// reply, read once when the list is built. The configuration wizard shows the same model in
// its own combo box: one set of items, two current rows.
#include "discaccess/DiscTypes.h"
#include "settings/OptionsModel.h"

#include <QAbstractListModel>
#include <QString>
#include <vector>

namespace quillon {

namespace disc {
class TkseCDDrives;
}

struct RecorderItem {
    QString text;    // "E:  ABC-1234  (XYZ)  1,0,0"
    QString address; // "1,0,0"
    RecorderIdentity identity;
    disc::TModeSenseReply page{}; // the raw reply, header and block descriptors included
};

class RecorderListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RecorderListModel(QObject *parent = nullptr);
    ~RecorderListModel() override;

    // Lists the drives; a drive list that throws ends the listing with the drives so far.
    void build(disc::TkseCDDrives &drives);
    void setItems(std::vector<RecorderItem> items);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return int(m_items.size()); }
    const RecorderItem *item(int row) const;
    // Through the drive layer's page-2Ah reader, wherever the drive put the page.
    bool canRecord(int row) const;
    bool burnproof(int row) const;
    // The first row that can record, or -1.
    int FirstRecorder() const { return m_firstRecorder; }
    // The row of the drive with this identity (or, when its node changed, the first with its
    // vendor and product), or -1.
    int rowOf(const RecorderIdentity &identity) const;

    // "E:  ABC-1234  (XYZ)  1,0,0".
    static QString itemText(QChar letter, const QString &product, const QString &vendor,
                            const QString &address);

private:
    std::vector<RecorderItem> m_items;
    int m_firstRecorder = -1;
};

} // namespace quillon
