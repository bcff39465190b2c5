#pragma once

// The window shown when the time is up.
#include "platform/controls.h"
#include "platform/form.h"

class Form3 : public Form {
    Q_OBJECT
public:
    explicit Form3(Programa& programa);

    void Form_Load() override;

    QLabel* Mensaje;
};
