#pragma once
// The grid as one HTML table, for the export and the printout: every cell, headers included,
// written by its own kind, rows in their current (sorted) order.

#include <string>

class CTableData;
class IFileOps;

// "<TABLE ...>" with one "<TR>" per row and each cell's fragment, line feeds as "<BR>".
std::string BuildHTML(const CTableData& table);

// The complete document: "<HTML>", a head that declares the text as UTF-8 (so that no browser
// takes it for another code page), "<BODY>", the table, "</BODY></HTML>".
std::string HTMLDocument(const CTableData& table);

// Writes HTMLDocument as UTF-8 without a byte-order mark. The file at path is replaced whole:
// on failure false, and an older file stays as it was.
bool WriteHTMLFile(const CTableData& table, const std::string& path);
bool WriteHTMLFile(const CTableData& table, const std::string& path, IFileOps& ops);
