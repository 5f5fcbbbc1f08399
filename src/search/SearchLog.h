#pragma once

#include <QLoggingCategory>

// Search pages fetched and what they held.
// Quiet but for warnings: QT_LOGGING_RULES="tidefetch.search.debug=true" shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
