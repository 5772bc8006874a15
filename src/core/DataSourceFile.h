#pragma once
// "Data Source.txt": the name of the fallback ODBC data source, in Windows-1251, first line only.

#include <QByteArray>
#include <QString>

namespace zarnel {

QString DataSourceFilePath();
// The first line of the file; empty when the file is missing or unreadable.
QString ReadDataSourceName();
// Creates the file anew with the bare name and no line end; false when it cannot be written.
bool WriteDataSourceName(const QString& name);

// The data source chosen explicitly, in this order: --dsn (SetChosenDataSource), ZARNEL_DSN, the setting the
// data-source window keeps in the program folder ("Chosen Data Source.txt", UTF-8). Empty when none is.
QString ChosenDataSource();
void SetChosenDataSource(const QString& name);
QString ChosenDataSourceFilePath();
// Keeps name as the setting, without a PWD part: a password never goes to a file. False when not written.
bool WriteChosenDataSource(const QString& name);
// The name field without its PWD part.
QString WithoutPassword(const QString& name);

// Connects the way the program starts: a chosen data source alone (no embedded database is created for it),
// otherwise the embedded database, then the data source of "Data Source.txt". Sets ConnectionString.
bool ConnectAtStart();
// Which database is in use, for the user: "встроенная база данных <file>" or "источник данных ODBC «name»".
QString DatabaseInUse();

QString DecodeCp1251(const QByteArray& bytes);
QByteArray EncodeCp1251(const QString& text); // characters outside the code page become '?'

} // namespace zarnel
