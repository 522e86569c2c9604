#include "settings/SystemRegistry.h"

#include "settings/IniRegistry.h"

#ifdef Q_OS_WIN
#include "platform/RegistryWin.h"
#endif

namespace quillon {

std::unique_ptr<Registry> CreateSystemRegistry(const AppPaths &paths)
{
#ifdef Q_OS_WIN
    Q_UNUSED(paths);
    return std::make_unique<RegistryWin>();
#else
    return std::make_unique<IniRegistry>(paths.registryFile());
#endif
}

} // namespace quillon
