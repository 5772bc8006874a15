#include "core/Log.h"

namespace zarnel {
Q_LOGGING_CATEGORY(lcDb, "zarnel.db")
}
