#pragma once
// Placeholder window; replaced by the real one.

#include "components/Form.h"

namespace zarnel {

class frmBD_Scen : public Form {
    Q_OBJECT
public:
    frmBD_Scen() { setWindowTitle(QStringLiteral("frmBD_Scen")); }
};

} // namespace zarnel
