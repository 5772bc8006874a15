#include "windows/shell/Startup.h"

#include "components/Services.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/Shared.h"
#include "windows/shell/frmDataSourse.h"
#include "windows/shell/ServerLogin.h"
#include "windows/shell/frmMain1.h"

namespace zarnel {

void Main()
{
    const QString chosen = ChosenDataSource();
    const QString dsn = chosen.isEmpty() ? ReadDataSourceName() : chosen;
    if (ConnectAskingLogin(ConnectAtStart)) {
        forms().get<frmMain1>()->Show();
        return;
    }
    MsgBox(WithConnectFailure(
               QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!")),
           QStringLiteral("Внимание!"), MsgIcon::Critical);
    frmDataSourse* f = forms().get<frmDataSourse>();
    f->Show();
    f->txtDataSourse->setText(dsn);
}

} // namespace zarnel
