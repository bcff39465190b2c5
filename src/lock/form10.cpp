#include "lock/form10.h"

#include "programa.h"

Form10::Form10(Programa& p) : Form(p) {
    Mensaje = new QLabel(QStringLiteral("El Tiempo ha Terminado."), this);
}

void Form10::Form_Load() {}
