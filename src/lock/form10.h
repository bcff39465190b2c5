#pragma once

// The screen lock shown when a protected alert ends.
#include "platform/controls.h"
#include "platform/form.h"

class Form10 : public Form {
    Q_OBJECT
public:
    explicit Form10(Programa& programa);

    void Form_Load() override;

    QLabel* Mensaje;
};
