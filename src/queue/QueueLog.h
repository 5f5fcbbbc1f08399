#pragma once

#include <QLoggingCategory>

// Which row the queue starts and how each one ends.
// Quiet but for warnings: QT_LOGGING_RULES="tidefetch.queue.debug=true" shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcQueue)
