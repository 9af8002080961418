// Results output: text file, clipboard and spreadsheet.

#include "app/form1.h"

void Form1::PushButton4_Click() {}

void Form1::PushButton5_Click() {}

void Form1::PushButton13_Click() {}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled() { return false; }
