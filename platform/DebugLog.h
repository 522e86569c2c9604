#pragma once
// The program's debug log. Internal errors and "not built yet" notes go here, never into silence.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcQuillon)
