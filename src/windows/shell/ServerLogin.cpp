#include "windows/shell/ServerLogin.h"

#include "components/Services.h"
#include "core/Database.h"
#include "core/Shared.h"

namespace zarnel {

bool ConnectAskingLogin(const std::function<bool()>& connect)
{
    while (!connect()) {
        const DbError failure = LastConnectFailure();
        if (failure.cause != DbFailure::Access)
            return false;
        const DataSourceLogin login =
            SplitDataSourceLogin(ConnectionStringValue(ConnectionString, QStringLiteral("Data Source")));
        const auto answer =
            loginDialog().askLogin(login.dataSource, login.user, ServerFailureText(failure.cause, failure.serverText));
        if (!answer) {
            SetServerLogin({}, {});
            return false;
        }
        SetServerLogin(answer->user, answer->password);
    }
    return true;
}

QString WithConnectFailure(const QString& text)
{
    const DbError failure = LastConnectFailure();
    if (failure.serverText.isEmpty())
        return text;
    return text + QStringLiteral("\n\n") + ServerFailureText(failure.cause, failure.serverText);
}

} // namespace zarnel
