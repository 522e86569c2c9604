#include "app/QuillonApplication.h"

#include "platform/DebugLog.h"

#include <exception>

namespace quillon {

QuillonApplication::QuillonApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool QuillonApplication::notify(QObject *receiver, QEvent *event)
{
    return deliverGuarded(receiver, [&] { return QApplication::notify(receiver, event); }, &m_escaped);
}

bool QuillonApplication::deliverGuarded(QObject *receiver, const std::function<bool()> &deliver, int *escaped)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        qCCritical(lcQuillon) << "error escaped an event handler of" << receiver << ":" << e.what();
    } catch (...) {
        qCCritical(lcQuillon) << "unknown error escaped an event handler of" << receiver;
    }
    if (escaped)
        ++*escaped;
    return false;
}

} // namespace quillon
