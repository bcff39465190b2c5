#pragma once

// The Options window: its check boxes are the live option values.
#include "platform/controls.h"
#include "platform/form.h"

class Form7 : public Form {
    Q_OBJECT
public:
    explicit Form7(Programa& programa);

    void Form_Load() override;

    CheckBox* siempre;
    CheckBox* minimiza;
    CheckBox* sonido;
    CheckBox* RunWin;
    CheckBox* RunAuto;
    CheckBox* state;
    CheckBox* StopSys;
    CheckBox* ShowCron;
    CheckBox* NoDown;
    CheckBox* SaveShutDown;
    CheckBox* ShowStart;
    CheckBox* SavePrec;
};
