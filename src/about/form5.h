#pragma once

// The About window.
#include "platform/controls.h"
#include "platform/form.h"

class Form5 : public Form {
    Q_OBJECT
public:
    explicit Form5(Programa& programa);

    void Form_Load() override;

    QLabel* Version;
};
