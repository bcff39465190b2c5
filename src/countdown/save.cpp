// Saving the alert.

#include "app/form1.h"
#include "common/messages.h"
#include "lock/codec.h"
#include "programa.h"
#include "settings/store.h"

void Form1::Guardando() {
    SettingsStore& store = programa.platform.store;
    SettingsStore::Values values = {
        {userValue(QStringLiteral("hh")), hh->text()},
        {userValue(QStringLiteral("mm")), mm->text()},
        {userValue(QStringLiteral("ss")), ss->text()},
        {userValue(QStringLiteral("BlockPass")), CodificaPass(Pass->text())},
        {userValue(QStringLiteral("TextPerson")), texto->text()},
    };
    const QString saveShutDown =
        GuardedReader(store).text(QStringLiteral("SaveShutDown")).value_or(QString());
    if (saveShutDown != u"0" && !saveShutDown.isEmpty()) {
        values.append({userValue(QStringLiteral("ShutState")), QString::number(habapaga->value())});
        values.append({userValue(QStringLiteral("Shutdown")),
                       apaga->value() ? QStringLiteral("-1") : QStringLiteral("0")});
        values.append({userValue(QStringLiteral("Restart")),
                       reinicia->value() ? QStringLiteral("-1") : QStringLiteral("0")});
    }
    // One group: a save that fails leaves every stored value as it was.
    if (!store.write(values)) {
        programa.platform.messages.show(
            this,
            QStringLiteral("No se pudo guardar el aviso: la configuración no se puede "
                           "escribir. Los datos del aviso siguen en la ventana."),
            MessageIcon::Critical, kTitle);
        return;
    }
    guardar->setEnabled(false);
}

void Form1::guardar_Click() {
    Guardando();
}
