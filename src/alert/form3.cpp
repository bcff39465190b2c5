#include "alert/form3.h"

#include "programa.h"

Form3::Form3(Programa& p) : Form(p) {
    Mensaje = new QLabel(QStringLiteral("El Tiempo ha Terminado."), this);
}

void Form3::Form_Load() {}
