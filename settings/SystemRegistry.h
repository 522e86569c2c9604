#pragma once
// The machine-wide key store of the running system: the Windows registry on Windows, the
// registry file in the config folder elsewhere.
#include "platform/AppPaths.h"
#include "platform/Registry.h"

#include <memory>

namespace quillon {

std::unique_ptr<Registry> CreateSystemRegistry(const AppPaths &paths);

} // namespace quillon
