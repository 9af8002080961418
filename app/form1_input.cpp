// Coordinate input: typed-in points, the example points and list files.

#include "app/form1.h"

void Form1::PushButton6_Click() {}

void Form1::PushButton7_Click() {}

void Form1::PushButton3_Click() {}

void Form1::PushButton8_Click() {}
