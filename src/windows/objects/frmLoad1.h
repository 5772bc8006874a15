#pragma once
// Placeholder window; replaced by the real one.

#include "components/Form.h"

namespace zarnel {

class frmLoad1 : public Form {
    Q_OBJECT
public:
    frmLoad1() { setWindowTitle(QStringLiteral("frmLoad1")); }
};

} // namespace zarnel
