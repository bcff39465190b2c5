#pragma once

// The password prompt that guards cancelling a protected alert.

#include "lock/prompt.h"

class Form4 : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Form4(Programa& programa);

    void Form_Load() override;

protected:
    QString emptyMessage() const override;
    QString messageTitle() const override;
    void rightPassword() override;
};
