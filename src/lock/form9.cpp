#include "lock/form9.h"

#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/messages.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"

Form9::Form9(Programa& p) : PasswordPrompt(p, 1215) {}

void Form9::Form_Load() {
    setWindowTitle(versionCaption());
    // Visible and above the alert window from its load on.
    WindowOnTop(-1);
}

QString Form9::emptyMessage() const {
    return QStringLiteral("Coloca la contraseña para continuar.");
}

QString Form9::messageTitle() const {
    return kTitle;
}

void Form9::rightPassword() {
    if (accion == u"salir") {
        programa.unload<Form1>();
        return;
    }
    if (accion == u"nuevo" || accion.isEmpty()) {
        Form1& main = programa.form1();
        main.setStateNormal();
        programa.unload<Form2>();
        programa.unload<Form3>();
        bringUp(main);
        programa.unload<Form9>();
    }
}
