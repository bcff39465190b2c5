#include "lock/form4.h"

#include "programa.h"

Form4::Form4(Programa& p) : Form(p) {
    Pass = new TextBox(this);
}

void Form4::Form_Load() {}
