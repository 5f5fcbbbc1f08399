#pragma once

#include <QLoggingCategory>

// The service's requests, replies and negotiation steps.
// Quiet but for warnings: QT_LOGGING_RULES="tidefetch.service.debug=true" shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcService)
