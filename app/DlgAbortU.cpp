#include "app/DlgAbortU.h"

#include "platform/DebugLog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

namespace quillon {

TDlgAbort::TDlgAbort(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgAbort"));
    setWindowTitle(QStringLiteral("Please wait"));
    setModal(true);
    LblText = new QLabel(this);
    LblText->setObjectName(QStringLiteral("LblText"));
    LblText->setMinimumWidth(260);
    BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LblText);
    layout->addWidget(BtnCancel, 0, Qt::AlignHCenter);
    connect(BtnCancel, &QPushButton::clicked, this, [this] {
        if (m_onCancel)
            m_onCancel();
    });
}

void TDlgAbort::runOperation(const QString &message, std::function<void()> operation,
                             std::function<void()> onCancel)
{
    m_operation = std::move(operation);
    m_onCancel = std::move(onCancel);
    LblText->setText(message);
    BtnCancel->setEnabled(true);
    exec();
    m_operation = nullptr;
    m_onCancel = nullptr;
}

void TDlgAbort::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Start once the dialog is on screen, so the user sees what is going on.
    if (m_operation && !m_running)
        QTimer::singleShot(5, this, &TDlgAbort::startOperation);
}

void TDlgAbort::startOperation()
{
    if (!m_operation || m_running)
        return;
    m_running = true;
    m_busyFinished = false;
    try {
        m_operation();
    } catch (const std::exception &e) {
        qCWarning(lcQuillon) << "busy operation failed:" << e.what();
    } catch (...) {
        qCWarning(lcQuillon) << "busy operation failed with an unknown error";
    }
    m_operation = nullptr;
    m_busyFinished = true;
    m_running = false;
    done(QDialog::Accepted);
}

// A close request while the operation runs cannot wait for it here (the operation is below
// us on the stack), so it asks the operation to stop and the dialog closes when it returns.
void TDlgAbort::finishingRequested()
{
    LblText->setText(QStringLiteral("Finishing. Please wait ..."));
    BtnCancel->setEnabled(false);
    if (m_onCancel)
        m_onCancel();
}

void TDlgAbort::reject()
{
    if (m_running) {
        finishingRequested();
        return;
    }
    QDialog::reject();
}

void TDlgAbort::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        finishingRequested();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace quillon
