#pragma once
// The busy dialog: runs one long operation modally, with a Cancel button that asks the
// operation to stop. The operation pumps events itself and polls the abort flag.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace quillon {

class TDlgAbort : public QDialog {
    Q_OBJECT
public:
    explicit TDlgAbort(QWidget *parent = nullptr);

    // Shows the dialog with `message`, runs `operation` once it is up, and returns when the
    // operation has ended. `onCancel` runs when the user asks to stop.
    void runOperation(const QString &message, std::function<void()> operation, std::function<void()> onCancel);

    bool busyFinished() const { return m_busyFinished; }
    bool operationRunning() const { return m_running; }

    QLabel *LblText;
    QPushButton *BtnCancel;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

public slots:
    void reject() override;

private:
    void startOperation();
    void finishingRequested();

    std::function<void()> m_operation;
    std::function<void()> m_onCancel;
    bool m_busyFinished = true;
    bool m_running = false;
};

} // namespace quillon
