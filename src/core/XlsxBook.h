#pragma once
// Writing an .xlsx workbook: named sheets of text and number cells. One place for the writing library.

#include <QString>
#include <memory>

namespace zarnel {

class XlsxBook {
public:
    explicit XlsxBook(const QString& path);
    ~XlsxBook();
    XlsxBook(const XlsxBook&) = delete;
    XlsxBook& operator=(const XlsxBook&) = delete;

    // Appends a sheet and returns its index; later cells go to the sheet given by index.
    int addSheet(const QString& name);
    void text(int sheet, int row, int column, const QString& value); // an empty text leaves the cell empty
    void header(int sheet, int row, int column, const QString& value); // bold, wrapped
    void number(int sheet, int row, int column, double value);
    void columnWidth(int sheet, int column, double characters);

    // Writes the file; false with the reason when it cannot be written.
    bool close(QString* error);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zarnel
