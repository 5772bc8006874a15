#include "core/ReportOptions.h"

#include "core/ProgramFolder.h"

#include <QSettings>

#include <optional>

namespace zarnel {

namespace {

const char* const kManualCaptionsKey = "report/manualCaptionNumbers";

// The choice of this run, once read or set; the file is read again when the program folder changes.
struct Choice {
    QString folder;
    std::optional<bool> manual;
};

Choice& CurrentChoice()
{
    static Choice choice;
    return choice;
}

QSettings OptionsFile()
{
    return QSettings(ProgramFile(QStringLiteral("zarnel.ini")), QSettings::IniFormat);
}

} // namespace

bool ManualCaptionNumbers()
{
    Choice& choice = CurrentChoice();
    if (!choice.manual || choice.folder != ProgramFolder()) {
        choice.folder = ProgramFolder();
        choice.manual = OptionsFile().value(QLatin1String(kManualCaptionsKey), false).toBool();
    }
    return *choice.manual;
}

void SetManualCaptionNumbers(bool manual, bool keep)
{
    Choice& choice = CurrentChoice();
    choice.folder = ProgramFolder();
    choice.manual = manual;
    if (keep) {
        QSettings file = OptionsFile();
        file.setValue(QLatin1String(kManualCaptionsKey), manual);
    }
}

} // namespace zarnel
