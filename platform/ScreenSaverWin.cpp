#include "platform/ScreenSaver.h"

#include <windows.h>

namespace quillon {

struct SystemScreenSaverInhibitor::Handles {};

SystemScreenSaverInhibitor::SystemScreenSaverInhibitor() : m_handles(std::make_unique<Handles>()) {}

SystemScreenSaverInhibitor::~SystemScreenSaverInhibitor() { release(); }

void SystemScreenSaverInhibitor::inhibit(const QString &)
{
    if (m_held)
        return;
    m_held = true;
    // The state holds for this thread until it is cleared: the screen saver and idle sleep
    // stay away meanwhile.
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
}

void SystemScreenSaverInhibitor::release()
{
    if (!m_held)
        return;
    m_held = false;
    SetThreadExecutionState(ES_CONTINUOUS);
}

} // namespace quillon
