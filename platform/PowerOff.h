#pragma once
// Switching the computer off after a job: a normal power-off that lets other programs save
// their work, never a forced one.
#include <QString>

namespace quillon {

class PowerOff {
public:
    virtual ~PowerOff() = default;
    // Asks the system to power off. On failure returns false and fills the reason.
    virtual bool requestPowerOff(QString *reason) = 0;
};

// logind over D-Bus on Linux, the shut-down call on Windows.
class SystemPowerOff : public PowerOff {
public:
    bool requestPowerOff(QString *reason) override;
};

} // namespace quillon
