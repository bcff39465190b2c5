#pragma once

// The password prompt that guards cancelling a protected alert.
#include "platform/controls.h"
#include "platform/form.h"

class Form4 : public Form {
    Q_OBJECT
public:
    explicit Form4(Programa& programa);

    void Form_Load() override;

    TextBox* Pass;
};
