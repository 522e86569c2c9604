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
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ++m_escaped;
        qCCritical(lcQuillon) << "error escaped an event handler of" << receiver << ":" << e.what();
    } catch (...) {
        ++m_escaped;
        qCCritical(lcQuillon) << "unknown error escaped an event handler of" << receiver;
    }
    return false;
}

} // namespace quillon
