#pragma once
// Writes a text sheet as an .xlsx workbook (libxlsxwriter): every cell a text
// cell, fitted columns at their widths.

#include <QString>

namespace platform {

class MemorySheet;

// Throws Failure when the file cannot be written.
void writeXlsx(const QString& path, const MemorySheet& sheet);

} // namespace platform
