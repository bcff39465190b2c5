#pragma once

// The password prompt that guards cancelling a protected alert.

#include "lock/prompt.h"

class Form4 : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Form4(Programa& programa);

    void Form_Load() override;

    // What the right password does: cancel the alert, or put its end off 15 minutes (the
    // warning's "Posponer 15 minutos").
    enum class Accion { Cancelar, Posponer };
    Accion accion = Accion::Cancelar;

protected:
    QString emptyMessage() const override;
    QString messageTitle() const override;
    void rightPassword() override;
};
