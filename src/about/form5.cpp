#include "about/form5.h"

#include "programa.h"

Form5::Form5(Programa& p) : Form(p) {
    Version = new QLabel(QStringLiteral("Version: 0.0.0.0"), this);
}

void Form5::Form_Load() {}
