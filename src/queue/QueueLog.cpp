#include "queue/QueueLog.h"

Q_LOGGING_CATEGORY(lcQueue, "tidefetch.queue", QtWarningMsg)
