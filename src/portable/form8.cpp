#include "portable/form8.h"

#include "programa.h"

Form8::Form8(Programa& p) : Form(p) {}

void Form8::Form_Load() {}
