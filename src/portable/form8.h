#pragma once

// The portable copy: the program's files to a chosen folder.
#include "platform/controls.h"
#include "platform/form.h"

class Form8 : public Form {
    Q_OBJECT
public:
    explicit Form8(Programa& programa);

    void Form_Load() override;
};
