#pragma once

// The main window: it holds the one alert there is, in its controls.

#include "countdown/cronometro.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/services.h"

#include <QPushButton>
#include <QTimer>

#include <cstdint>
#include <memory>

class QAction;
class QGroupBox;
class QMenu;
class QMenuBar;

class Form1 : public Form {
    Q_OBJECT
public:
    explicit Form1(Programa& programa);
    ~Form1() override;

    void Form_Load() override;
    void Form_Unload() override;

    // The alert's operations.
    // Returns false when the total did not fit the clock and nothing was started.
    bool IniciaTimer();
    void DetieneTimer();
    void Guardando();
    static QString FormatearTiempo(std::int32_t n);

    // The window's state, as the alert's operations set it: a minimised main window hides.
    void setStateNormal();
    void setStateMinimised();

    // Handlers, named after the control and the event.
    void cmdIniciar1_Click();
    void tmrCronómetro1_Timer();
    void hh_Change();
    void mm_Change();
    void ss_Change();
    void Pass_Change();
    void texto_Change();
    void lblTiempo1_Change();
    void contra_Click();
    void habiltext_Click();
    void habapaga_Click();
    void detener_Click();
    void guardar_Click();
    void Command1_Click();

    // Menu commands.
    void nuevo_Click();
    void cronometro_Click();
    void cancela_Click();
    void opc_Click();
    void salir_Click();
    void portar_Click();
    void guarda_Click();
    void ayuda_Click();
    void acerca_Click();
    void trayMenuRequested(const QPoint& at);
    // The warning's "Posponer 15 minutos": through the cancel-password prompt when protected.
    void posponer_Click();

    // The warning before a power-off, restart or lock: taken back when the alert ends.
    void withdrawWarning();
    // Moves the running alert's end 15 minutes later and warns again before the new end.
    void postponeAlert();

    // The tray icon's registration sequences.
    void trayAdd();
    void trayRefresh();
    void trayReset();
    void trayDelete();

    // Controls that hold the alert.
    Label* Image1;
    Label* lblTiempo1;
    QGroupBox* frameCuenta;
    Label* h;
    Label* m;
    Label* s;
    TextBox* hh;
    TextBox* mm;
    TextBox* ss;
    QPushButton* cmdIniciar1;
    QPushButton* Command1;
    QPushButton* detener;
    QPushButton* guardar;
    QGroupBox* frameContra;
    CheckBox* contra;
    TextBox* Pass;
    QGroupBox* frameTexto;
    CheckBox* habiltext;
    TextBox* texto;
    QGroupBox* frameApaga;
    CheckBox* habapaga;
    OptionButton* apaga;
    OptionButton* reinicia;
    TextBox* txtCantidadSegundos1;
    QTimer* tmrCronómetro1;

    // The menus, which the tray icon shares.
    QMenuBar* menuBar;
    QMenu* mnuPopMenu;
    QAction* nuevo;
    QAction* cronometro;
    QAction* cancela;
    QAction* opc;
    QAction* salir;
    QMenu* opciones;
    QAction* portar;
    QAction* guarda;
    QMenu* info;
    QAction* ayuda;
    QAction* acerca;
    QMenu* logoMenu;

    // The tray picture counter: the next animation picture.
    std::int16_t CuadroIcono = 0;
    // The clock of the running alert; null when none was started or it was released.
    const clsCronómetro* clock() const { return clock_.get(); }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void fitUnitToScreen();
    void Form_Resize(Qt::WindowStates before);
    void trayAvailabilityChanged(bool available);
    // Shows the hidden, minimised window minimised in the taskbar, and waits for the window
    // manager to have it there.
    void showInTaskbar();
    void taskbarCheck();
    // Centres the window the first time it is on screen in its normal state.
    void placeOnce();
    // A protected alert's window may come back only through the password prompt.
    bool protectedByPassword() const;
    // Starts the tick timer for the middle of the next system second.
    void aimTick();
    // The completion steps; false when they end the tick before the tray refresh.
    bool complete();
    // A power-off or restart request the system refused, reported whenever the answer comes.
    void powerRequestFailed(PowerRequest request, const QString& reason);
    // Shows the warning once the alert is that close to its end, if it powers off, restarts
    // or locks.
    void warnIfDue(std::int32_t remaining);
    void warningAction(const QString& key);

    std::unique_ptr<clsCronómetro> clock_;
    int trayPicture_ = kTrayIdle;
    QString trayTip_;
    bool placed_ = false;
    // The running alert has not warned yet.
    bool warningDue_ = false;
    QTimer taskbarWait_;
    int taskbarChecks_ = 0;
    // Set while the program itself changes the window's state.
    bool settingState_ = false;
};
