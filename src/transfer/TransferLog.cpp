#include "transfer/TransferLog.h"

Q_LOGGING_CATEGORY(lcTransfer, "tidefetch.transfer", QtWarningMsg)
