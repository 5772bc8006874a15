#pragma once
// The user's choices for documents, kept in "zarnel.ini" of the program folder.

namespace zarnel {

// Captions written "Таблица ___ - …" and "Рис. ____ - …" for numbering by hand, instead of numbered by fields.
bool ManualCaptionNumbers();
// Sets the choice; with `keep` it is also written to the program folder for the next start.
void SetManualCaptionNumbers(bool manual, bool keep = true);

} // namespace zarnel
