// Saving the alert.

#include "app/form1.h"
#include "common/messages.h"
#include "lock/codec.h"
#include "programa.h"
#include "settings/store.h"

namespace {

QString booleanText(bool selected) {
    return selected ? QStringLiteral("-1") : QStringLiteral("0");
}

}  // namespace

void Form1::Guardando() {
    SettingsStore& store = programa.platform.store;
    // The texts are saved whatever the state of their boxes; the password only encoded.
    SettingsStore::Values values = {
        {userValue(QStringLiteral("hh")), hh->text()},
        {userValue(QStringLiteral("mm")), mm->text()},
        {userValue(QStringLiteral("ss")), ss->text()},
        {userValue(QStringLiteral("BlockPass")), CodificaPass(Pass->text())},
        {userValue(QStringLiteral("TextPerson")), texto->text()},
    };
    if (GuardedReader(store).neitherZeroNorEmpty(QStringLiteral("SaveShutDown"))) {
        values.append({userValue(QStringLiteral("ShutState")), QString::number(habapaga->value())});
        values.append({userValue(QStringLiteral("Shutdown")), booleanText(apaga->value())});
        values.append({userValue(QStringLiteral("Restart")), booleanText(reinicia->value())});
    }
    // One group: a save that fails, or a crash in the middle, leaves every stored value as
    // it was instead of half an alert.
    if (!store.write(values)) {
        programa.platform.messages.show(
            this,
            QStringLiteral("No se pudo guardar el aviso: la configuración no se puede "
                           "escribir. Los datos del aviso se conservan en la ventana."),
            MessageIcon::Critical, kTitle);
        return;
    }
    guardar->setEnabled(false);
}

void Form1::guardar_Click() {
    Guardando();
}
