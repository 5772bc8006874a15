#pragma once
// Variables shared by all windows for as long as the program runs.

#include <QString>

namespace zarnel {

extern QString ConnectionString; // the connection string in force (the form tried last)
extern qint16 CurrentObjectId;   // tabObjekt.Id being worked on; 0 while a new object is named
extern qint16 CurrentScenarioId; // tabScen.Id chosen in the editors; 0 while a new scenario is entered
extern qint16 DirectBuild;       // -1 when the scenario editor asked the indicator window to build at once
extern qint16 PeopleAtRisk;      // number of people at risk used for the individual risk and the report

// Back to the start values (tests, and a fresh start of the program).
void ResetShared();

} // namespace zarnel
