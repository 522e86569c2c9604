#pragma once
// The job dialog's drives over the disc-access layer's drive list, with the options'
// recorder choice.
#include "engine/JobHost.h"

#include <functional>

namespace quillon {

namespace disc {
class TkseCDDrives;
}
class OptionsModel;

class DiscJobDrives : public JobDrives {
public:
    DiscJobDrives(disc::TkseCDDrives &drives, const OptionsModel &options);

    int count() const override;
    int recorderIndex() const override;
    QChar letter(int index) const override;
    bool canWrite(int index) override;
    int maxWriteSpeed(int index) override;
    JobDiscState discState(int index) override;
    qint64 capacitySectors(int index) override;
    bool discPresent(int index) override;
    qint64 discSizeSectors(int index) override;
    void loadTray(int index) override;
    std::optional<QString> deviceArgument(int index) const override;

    // Replaces the device argument the tools get (tests point a recorder at a file).
    std::function<std::optional<QString>(int index)> deviceOverride;

private:
    bool valid(int index) const { return index >= 0 && index < count(); }
    disc::TkseCDDrives &m_drives;
    const OptionsModel &m_options;
};

} // namespace quillon
