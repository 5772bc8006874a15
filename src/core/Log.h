#pragma once
// Logging categories. A failed database statement is logged under zarnel.db with its SQL text and the
// driver's message; the user sees only the Russian sentence.

#include <QLoggingCategory>

namespace zarnel {
Q_DECLARE_LOGGING_CATEGORY(lcDb)
}
