// Writes the sample object into the database of a program folder, as an installed program would find it.

#include "core/Database.h"
#include "core/DemoData.h"
#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 || !zarnel::SetProgramFolder(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "usage: seed_demo PROGRAM_FOLDER" << Qt::endl;
        return 1;
    }
    try {
        zarnel::Connection c(zarnel::DefaultConnectionString());
        zarnel::WriteDemoObject(c);
    } catch (const zarnel::DbError& e) {
        QTextStream(stderr) << e.message << Qt::endl;
        return 1;
    }
    return 0;
}
