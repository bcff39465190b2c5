#include "schedule/form11.h"

#include "programa.h"

Form11::Form11(Programa& p) : Form(p) {
    SavePrec2 = new CheckBox(QStringLiteral("Recordar configuracion"), this);
}

void Form11::Form_Load() {}
