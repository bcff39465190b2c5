#include "lock/form9.h"

#include "programa.h"

Form9::Form9(Programa& p) : Form(p) {}

void Form9::Form_Load() {}
