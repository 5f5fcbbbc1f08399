#include "direct/DirectLog.h"

Q_LOGGING_CATEGORY(lcDirect, "tidefetch.direct", QtWarningMsg)
