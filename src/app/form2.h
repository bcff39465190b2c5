#pragma once

// The stopwatch: the running alert's remaining time above other windows.
#include "platform/controls.h"
#include "platform/form.h"

class Form2 : public Form {
    Q_OBJECT
public:
    explicit Form2(Programa& programa);

    void Form_Load() override;

    Label* lblTiempo1;
};
