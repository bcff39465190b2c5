#pragma once

// The password prompt that guards the alert window's actions.
#include "platform/controls.h"
#include "platform/form.h"

class Form9 : public Form {
    Q_OBJECT
public:
    explicit Form9(Programa& programa);

    void Form_Load() override;

    // The pending action: "salir", "nuevo", empty, or anything else.
    QString accion;
};
