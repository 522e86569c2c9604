#include "app/DlgNewU.h"

#include "settings/FormStorage.h"
#include "settings/IniStore.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

TDlgNew::TDlgNew(IniStore *settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("Newtask"));
    setWindowTitle(QStringLiteral("New task"));
    auto *column = new QVBoxLayout(this);
    auto radio = [this, column](const char *name, const QString &caption) {
        auto *r = new QRadioButton(caption, this);
        r->setObjectName(QLatin1String(name));
        r->installEventFilter(this);
        column->addWidget(r);
        return r;
    };
    RadioData = radio("RadioData", QStringLiteral("Data CD (ISO 9660 / Joliet)"));
    RadioAudio = radio("RadioAudio", QStringLiteral("Audio CD"));
    RadioMixed = radio("RadioMixed", QStringLiteral("CD Plus  -  data + audio"));
    RadioRecFromIso = radio("RadioRecFromIso", QStringLiteral("Record CD from an image"));
    RadioDataCopy = radio("RadioDataCopy", QStringLiteral("Copy data CD"));
    RadioMultisession = radio("RadioMultisession", QStringLiteral("Add session to a multisession disc"));
    RadioRipAudio = radio("RadioRipAudio", QStringLiteral("Copy audio CD"));
    RadioData->setChecked(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(50); });
    column->addWidget(buttons);

    m_storage = std::make_unique<TFormStorage>(objectName(), TFormStorage::foState | TFormStorage::foActiveControl, this);
    // The stored keys in their file order.
    for (QRadioButton *r : {RadioAudio, RadioData, RadioDataCopy, RadioMixed, RadioMultisession, RadioRecFromIso,
                            RadioRipAudio})
        m_storage->addProperty(
            r->objectName(), QStringLiteral("Checked"), PropKind::Boolean, [r] { return r->isChecked(); },
            [r](const QVariant &v) {
                if (v.toBool())
                    r->setChecked(true);
            });
}

TDlgNew::~TDlgNew() = default;

QList<QRadioButton *> TDlgNew::radios() const
{
    return {RadioData, RadioAudio, RadioMixed, RadioRecFromIso, RadioDataCopy, RadioMultisession, RadioRipAudio};
}

TDlgNew::Task TDlgNew::task() const
{
    const QList<QRadioButton *> all = radios();
    for (int i = 0; i < all.size(); ++i)
        if (all[i]->isChecked())
            return Task(i);
    return ntData;
}

void TDlgNew::setTask(Task task) { radios().value(int(task), RadioData)->setChecked(true); }

void TDlgNew::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_settings)
        QTimer::singleShot(1, this, [this] { m_storage->restore(*m_settings); });
}

void TDlgNew::done(int result)
{
    if (result == QDialog::Accepted && m_settings)
        m_storage->save(*m_settings);
    QDialog::done(result);
}

bool TDlgNew::eventFilter(QObject *watched, QEvent *event)
{
    // A double click on a choice takes it.
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto *r = qobject_cast<QRadioButton *>(watched)) {
            r->setChecked(true);
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quillon
