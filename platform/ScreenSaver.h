#pragma once
// Keeps the screen saver and the system's idle sleep away while a disc is written: a recorder
// starved of data by a sleeping machine spoils the disc.
#include <QString>
#include <memory>

namespace quillon {

class ScreenSaverInhibitor {
public:
    virtual ~ScreenSaverInhibitor() = default;
    // Holds the inhibition until release(); a second call while held does nothing.
    virtual void inhibit(const QString &reason) = 0;
    virtual void release() = 0;
    virtual bool held() const = 0;
};

// org.freedesktop.ScreenSaver and logind's idle inhibitor over D-Bus on Linux; the thread's
// execution state on Windows. A missing service is logged and otherwise ignored.
class SystemScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    SystemScreenSaverInhibitor();
    ~SystemScreenSaverInhibitor() override;
    void inhibit(const QString &reason) override;
    void release() override;
    bool held() const override { return m_held; }

    struct Handles;

private:
    std::unique_ptr<Handles> m_handles;
    bool m_held = false;
};

} // namespace quillon
