// "Save Results As Text File" and "Copy Results To Clipboard".

#include "app/form1.h"

void Form1::PushButton4_Click() {}

void Form1::PushButton5_Click() {}
