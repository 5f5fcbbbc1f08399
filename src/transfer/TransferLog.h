#pragma once

#include <QLoggingCategory>

// What the transfers send, receive and decide.
// Quiet but for warnings: QT_LOGGING_RULES="tidefetch.transfer.debug=true" shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcTransfer)
