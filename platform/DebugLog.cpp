#include "platform/DebugLog.h"

Q_LOGGING_CATEGORY(lcQuillon, "quillon", QtInfoMsg)
