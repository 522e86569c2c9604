#include "app/MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace quillon {

namespace {
struct ButtonPair {
    PromptButton ours;
    QMessageBox::StandardButton qt;
};
constexpr ButtonPair kButtons[] = {
    {pbOk, QMessageBox::Ok},       {pbCancel, QMessageBox::Cancel}, {pbYes, QMessageBox::Yes},
    {pbNo, QMessageBox::No},       {pbHelp, QMessageBox::Help},     {pbAbort, QMessageBox::Abort},
    {pbRetry, QMessageBox::Retry}, {pbIgnore, QMessageBox::Ignore},
};

QMessageBox::Icon iconFor(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

PromptButton MessageBoxPrompter::ask(const PromptRequest &request)
{
    // Some texts break their lines the Windows way; a box shows a bare carriage return.
    QString text = request.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(iconFor(request.icon), request.caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    for (const ButtonPair &b : kButtons)
        if (request.buttons & b.ours)
            box.addButton(b.qt);
    for (const ButtonPair &b : kButtons)
        if (b.ours == request.defaultButton)
            box.setDefaultButton(b.qt);
    if (request.buttons & pbCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    if (request.systemModal) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    const int chosen = box.exec();
    for (const ButtonPair &b : kButtons)
        if (chosen == b.qt)
            return b.ours;
    return (request.buttons & pbCancel) ? pbCancel : request.defaultButton;
}

} // namespace quillon
