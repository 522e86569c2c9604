#include "engine/RecorderAddress.h"

#include "settings/OptionsModel.h"

namespace quillon {

DeviceAddress RecorderAddress(const OptionsModel &options, const RecorderDevices &devices)
{
    const int index = options.ComboCDs();
    if (index < 0)
        return DeviceAddress::none();
    return DeviceAddress::of(devices.deviceForRecorder(index));
}

DeviceAddress DriveAddress(QChar driveLetter, const RecorderDevices &devices)
{
    if (driveLetter.isNull())
        return DeviceAddress::none();
    return DeviceAddress::of(devices.deviceForLetter(driveLetter.toUpper()));
}

} // namespace quillon
