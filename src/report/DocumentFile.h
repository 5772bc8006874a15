#pragma once
// Where a produced document goes: the user picks a file (proposed in the documents folder), the document is saved
// there and opened with the desktop's application for Word documents.

#include <QString>

class DocxWriter;

namespace zarnel {

// "<documents folder>/<title>.docx"; characters a file name cannot hold on the usual systems are replaced.
QString ProposedDocumentPath(const QString& title);

// The save dialog (Word or PDF); an empty text when the user cancelled. A name typed without the suffix ".docx"
// or ".pdf" gets ".docx".
QString AskDocumentPath(const QString& caption, const QString& title);

// Opens a saved document with the desktop's application; when none can, a message names the file.
void OpenSavedDocument(const QString& path);

// Saves the document and opens it; every failure is told to the user in a message. False when nothing was saved.
bool SaveAndOpenDocument(const DocxWriter& document, const QString& path);

} // namespace zarnel
