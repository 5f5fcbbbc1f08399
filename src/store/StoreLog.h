#pragma once

#include <QLoggingCategory>

// Which list file is opened, its upgrades, and statements that fail.
// Quiet but for warnings: QT_LOGGING_RULES="tidefetch.store.debug=true" shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcStore)
