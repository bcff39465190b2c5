// The main window's menus, which the tray icon shares, and their commands.

#include "about/form5.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/messages.h"
#include "lock/form9.h"
#include "platform/screen.h"
#include "portable/form8.h"
#include "programa.h"
#include "settings/form7.h"

#include <QMenu>
#include <QMenuBar>
#include <QUrl>

void Form1::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption,
                       void (Form1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuPopMenu = menuBar->addMenu(QStringLiteral("Archivo"));
    mnuPopMenu->setObjectName(QStringLiteral("mnuPopMenu"));
    nuevo = item(mnuPopMenu, "nuevo", QStringLiteral("Configurar Aviso"), &Form1::nuevo_Click);
    cronometro =
        item(mnuPopMenu, "cronometro", QStringLiteral("Ver Cronometro"), &Form1::cronometro_Click);
    cancela = item(mnuPopMenu, "cancela", QStringLiteral("Cancelar Aviso"), &Form1::cancela_Click);
    opc = item(mnuPopMenu, "opc", QStringLiteral("Opciones"), &Form1::opc_Click);
    salir = item(mnuPopMenu, "salir", QStringLiteral("Salir"), &Form1::salir_Click);

    opciones = menuBar->addMenu(QStringLiteral("Herramientas"));
    opciones->setObjectName(QStringLiteral("opciones"));
    portar = item(opciones, "portar", QStringLiteral("Tempix Portable"), &Form1::portar_Click);
    guarda = item(opciones, "guarda", QStringLiteral("Opciones"), &Form1::guarda_Click);

    info = menuBar->addMenu(QStringLiteral("Información"));
    info->setObjectName(QStringLiteral("info"));
    ayuda = item(info, "ayuda", QStringLiteral("Temas de Ayuda"), &Form1::ayuda_Click);
    acerca = item(info, "acerca", QStringLiteral("Acerca de Tempix"), &Form1::acerca_Click);

    logoMenu = menuBar->addMenu(QStringLiteral("ND 2019"));
    logoMenu->setObjectName(QStringLiteral("logo"));
    logoMenu->setEnabled(false);

    programa.platform.tray.setMenu(mnuPopMenu);
    connect(&programa.platform.tray, &TrayService::menuRequested, this, &Form1::trayMenuRequested);
    connect(&programa.platform.tray, &TrayService::availabilityChanged, this,
            &Form1::trayAvailabilityChanged);
}

void Form1::trayMenuRequested(const QPoint& at) {
    mnuPopMenu->popup(at);
}

void Form1::nuevo_Click() {
    if (!Pass->text().isEmpty()) {
        // Whatever the prompt was asked before, this request is to show the main window.
        Form9& prompt = programa.form9();
        prompt.accion = QStringLiteral("nuevo");
        bringUp(prompt);
        return;
    }
    setStateNormal();
    bringUp(*this);
}

void Form1::cronometro_Click() {
    if (!txtCantidadSegundos1->text().isEmpty()) {
        // Activated like every window the menu opens: its activation puts it on top.
        bringUp(programa.form2());
        return;
    }
    programa.platform.messages.show(this, QStringLiteral("No hay ningun aviso programado"),
                                    MessageIcon::Critical, kShortTitle);
}

void Form1::cancela_Click() {
    if (tmrCronómetro1->isActive()) {
        DetieneTimer();
    }
}

void Form1::opc_Click() {
    bringUp(programa.form7());
}

void Form1::guarda_Click() {
    bringUp(programa.form7());
}

void Form1::salir_Click() {
    programa.unload<Form1>();
}

void Form1::portar_Click() {
    bringUp(programa.form8());
}

void Form1::ayuda_Click() {
    programa.platform.opener.open(QUrl::fromLocalFile(programa.platform.paths.programFolder() +
                                                      QStringLiteral("/tempix_help.html")));
}

void Form1::acerca_Click() {
    bringUp(programa.form5());
}
