// What a screen reader finds in every window: each control the user can reach has a name of
// its own, and the option buttons are radio buttons.

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "lock/form10.h"
#include "lock/form4.h"
#include "lock/form9.h"
#include "portable/form8.h"
#include "schedule/form11.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

namespace {

QString accessibleName(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

// The controls a user reaches with the keyboard or the mouse (a list's own text box is part
// of the list).
QList<QWidget*> controls(QWidget* window) {
    QList<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool listText = qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parent());
        if (!listText && w->isVisibleTo(window) &&
            (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
             qobject_cast<QProgressBar*>(w))) {
            found.append(w);
        }
    }
    return found;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasANameOfItsOwn() {
        TestProgram t;
        const QList<QWidget*> windows = {
            &t.programa.form1(), &t.programa.form3(),  &t.programa.form4(),
            &t.programa.form5(), &t.programa.form7(),  &t.programa.form8(),
            &t.programa.form9(), &t.programa.form10(), &t.programa.form11()};
        for (QWidget* window : windows) {
            QStringList names;
            for (QWidget* control : controls(window)) {
                const QString name = accessibleName(control);
                QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
                QVERIFY2(!names.contains(name), qPrintable(name));
                names.append(name);
            }
        }
    }

    void theMainWindowAsAnnounced() {
        TestProgram t;
        Form1& f = t.programa.form1();
        QCOMPARE(accessibleName(f.hh), "Horas");
        QCOMPARE(accessibleName(f.Pass), "Contraseña del aviso");
        QCOMPARE(accessibleName(f.habapaga), "Habilitar: Apagar equipo (WinXP o Superior).");
        QCOMPARE(f.habapaga->text(), "Habilitar");
        for (QAbstractButton* option : {f.apaga, f.reinicia}) {
            QCOMPARE(QAccessible::queryAccessibleInterface(option)->role(),
                     QAccessible::RadioButton);
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
