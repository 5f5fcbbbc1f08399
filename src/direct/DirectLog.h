#pragma once

#include <QLoggingCategory>

// The checks of direct links: requests, answers, redirects.
// Quiet but for warnings: QT_LOGGING_RULES="tidefetch.direct.debug=true" shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcDirect)
