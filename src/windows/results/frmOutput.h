#pragma once
// Placeholder window; replaced by the real one.

#include "components/Form.h"

namespace zarnel {

class frmOutput : public Form {
    Q_OBJECT
public:
    frmOutput() { setWindowTitle(QStringLiteral("frmOutput")); }
};

} // namespace zarnel
