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

QString DecodeCp1251(const QByteArray& bytes);
QByteArray EncodeCp1251(const QString& text); // characters outside the code page become '?'

} // namespace zarnel
