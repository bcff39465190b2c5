#include "settings/form7.h"

#include "programa.h"

Form7::Form7(Programa& p) : Form(p) {
    siempre = new CheckBox(QStringLiteral("Guardar siempre que se inicie un Aviso."), this);
    siempre->setValue(1);
    minimiza =
        new CheckBox(QStringLiteral("No minimizar Tempix cuando se inicie un aviso. "), this);
    sonido = new CheckBox(QStringLiteral("Reproducir sonido al terminar el Tiempo."), this);
    sonido->setValue(1);
    RunWin = new CheckBox(QStringLiteral("Iniciar con Windows."), this);
    RunAuto = new CheckBox(QStringLiteral("Al abrir iniciar el ultimo Aviso Guardado."), this);
    state = new CheckBox(QStringLiteral("Iniciar siempre minimizado."), this);
    StopSys = new CheckBox(QStringLiteral("Bloquear Pantalla en Avisos bajo Contraseña."), this);
    ShowCron = new CheckBox(QStringLiteral("Mostrar Cronometro al iniciar Aviso."), this);
    NoDown = new CheckBox(QStringLiteral("Evitar que se cierre el Cronometro."), this);
    SaveShutDown =
        new CheckBox(QStringLiteral("Al Guardar incluir funciones de Apagar / Reiniciar."), this);
    ShowStart =
        new CheckBox(QStringLiteral("Mostrar Nodavia Tempix al desbloquear pantalla."), this);
    ShowStart->setValue(1);
    ShowStart->setEnabled(false);
    SavePrec =
        new CheckBox(QStringLiteral("Recordar configuracion de funcion \"Precisar\"."), this);
}

void Form7::Form_Load() {}
