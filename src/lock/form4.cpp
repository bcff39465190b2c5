#include "lock/form4.h"

#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/messages.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"

Form4::Form4(Programa& p) : PasswordPrompt(p, 1110) {}

void Form4::Form_Load() {
    setWindowTitle(versionCaption());
    // Above every window, the stopwatch too, as the action prompt is.
    WindowOnTop(-1);
}

QString Form4::emptyMessage() const {
    return QStringLiteral("Coloca la contraseña para cancelar el aviso que esta programado.");
}

QString Form4::messageTitle() const {
    return kShortTitle;
}

void Form4::rightPassword() {
    if (accion == Accion::Posponer) {
        programa.form1().postponeAlert();
        programa.unload<Form4>();
        return;
    }
    // The alert is cancelled and the main window made ready for a new one; the stored
    // password stays until the next save.
    Form1& main = programa.form1();
    main.tmrCronómetro1->stop();
    main.withdrawWarning();
    main.lblTiempo1->setCaption(QStringLiteral("00:00:00"));
    main.txtCantidadSegundos1->clear();
    main.setStateNormal();
    programa.unload<Form2>();
    programa.unload<Form3>();
    main.contra->setEnabled(true);
    main.Pass->clear();
    main.Pass->setEnabled(false);
    main.Pass->setBackColour(BackColour::Grey);
    main.habiltext->setEnabled(true);
    main.texto->clear();
    main.texto->setEnabled(false);
    main.texto->setBackColour(BackColour::Grey);
    main.hh->clear();
    main.mm->clear();
    main.ss->clear();
    main.cmdIniciar1->setEnabled(true);
    main.hh->setEnabled(true);
    main.mm->setEnabled(true);
    main.ss->setEnabled(true);
    bringUp(main);
    programa.unload<Form4>();
}
