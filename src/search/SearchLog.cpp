#include "search/SearchLog.h"

Q_LOGGING_CATEGORY(lcSearch, "tidefetch.search", QtWarningMsg)
