#include "rapidshare/ServiceLog.h"

Q_LOGGING_CATEGORY(lcService, "tidefetch.service", QtWarningMsg)
