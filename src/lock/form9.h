#pragma once

// The password prompt that guards the alert window's actions.

#include "lock/prompt.h"

class Form9 : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Form9(Programa& programa);

    void Form_Load() override;

    // The pending action: "salir", "nuevo", empty (as "nuevo"), or anything else (nothing).
    QString accion;

protected:
    QString emptyMessage() const override;
    QString messageTitle() const override;
    void rightPassword() override;
};
