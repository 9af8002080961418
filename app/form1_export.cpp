// "Save Results As Excel File": the results in a new spreadsheet workbook.

#include "app/form1.h"

void Form1::PushButton13_Click() {}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled() { return false; }
