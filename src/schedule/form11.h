#pragma once

// The target-time window: a day and clock time become the countdown.
#include "platform/controls.h"
#include "platform/form.h"

#include <QComboBox>

class QPushButton;

class Form11 : public Form {
    Q_OBJECT
public:
    explicit Form11(Programa& programa);

    void Form_Load() override;

    // Stores the four choices as ddd, hhh, mmm and ampm.
    void guarda();
    // Removes the half-day markers from horactual.
    void Quitar();
    // Puts the current hour, minute and half-day into the lists.
    void presetFromClock();

    void convertir_Click();
    void SavePrec2_Click();
    void Label14_Click();

    Label* Image1;
    Label* Label4;
    Label* Label8;
    Label* Label1;
    Label* Label3;
    Label* Label2;
    Label* Label14;
    QComboBox* dias;
    QComboBox* horas;
    QComboBox* minutos;
    QComboBox* merid;
    QPushButton* convertir;
    CheckBox* SavePrec2;

    // The window's working values, never shown.
    QString horamilitar;  // "03:45:10 p.m.", set at load
    QString horactual;    // "15:45:00"
    double hhact = 0;
    double mmact = 0;
    double horasel = 0;
    double minutosel = 0;
    double diasel = 0;
    double hhnva = 0;
    double mmnva = 0;

private:
    void reportStoreFailure();
};
