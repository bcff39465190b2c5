#pragma once

// The target-time window: a day and clock time become the countdown.
#include "platform/controls.h"
#include "platform/form.h"

class Form11 : public Form {
    Q_OBJECT
public:
    explicit Form11(Programa& programa);

    void Form_Load() override;

    CheckBox* SavePrec2;
};
