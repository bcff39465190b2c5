#include "app/form2.h"

#include "programa.h"

Form2::Form2(Programa& p) : Form(p) {
    lblTiempo1 = new Label(QStringLiteral("00:00:00"), this);
}

void Form2::Form_Load() {}
