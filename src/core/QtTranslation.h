#pragma once
// Qt's own texts (standard buttons, file dialogs, --help) in Russian, from the system's Qt translations.

namespace zarnel {

// Installs qtbase_ru into the application; false when the translation is not installed (texts stay English).
bool LoadQtTranslation();

} // namespace zarnel
