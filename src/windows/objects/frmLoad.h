#pragma once
// Placeholder window; replaced by the real one.

#include "components/Form.h"

namespace zarnel {

class frmLoad : public Form {
    Q_OBJECT
public:
    frmLoad() { setWindowTitle(QStringLiteral("frmLoad")); }
};

} // namespace zarnel
