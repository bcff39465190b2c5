#pragma once

// The Options window: its check boxes are the live option values.
#include "platform/controls.h"
#include "platform/form.h"

#include <QStringList>

class QPushButton;
class QTabWidget;

class Form7 : public Form {
    Q_OBJECT
public:
    explicit Form7(Programa& programa);

    void Form_Load() override;

    void acerca_Click();
    void Label1_Click();
    void siempre_Click();
    void minimiza_Click();
    void sonido_Click();
    void RunWin_Click();
    void RunAuto_Click();
    void state_Click();
    void StopSys_Click();
    void ShowCron_Click();
    void NoDown_Click();
    void SaveShutDown_Click();
    void ShowStart_Click();
    void SavePrec_Click();
    void WarnBefore_Click();

    Label* Image1;
    Label* Label1;
    QPushButton* acerca;
    QTabWidget* SSTab1;

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
    CheckBox* WarnBefore;

private:
    // Runs a change; what it and the changes it causes fail to store is reported in one box.
    template <class F>
    void reporting(F&& change);
    void failed(const QString& text);
    void writeFlag(const QString& name, const CheckBox* box);

    int reportingDepth_ = 0;
    QStringList failures_;
};
