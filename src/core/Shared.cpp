#include "core/Shared.h"

namespace zarnel {

QString ConnectionString;
qint16 CurrentObjectId = 0;
qint16 CurrentScenarioId = 0;
qint16 DirectBuild = 0;
qint16 PeopleAtRisk = 0;

void ResetShared()
{
    ConnectionString.clear();
    CurrentObjectId = 0;
    CurrentScenarioId = 0;
    DirectBuild = 0;
    PeopleAtRisk = 0;
}

} // namespace zarnel
