// The tray menu as a notification area that draws it itself reads it over D-Bus, and the entry
// it runs when the user picks one.

#include "platform/linux/dbusmenu.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

class TrayMenuTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void whatThePanelShows() {
        QMenu menu;
        QAction* configure = menu.addAction(QStringLiteral("&Configurar Aviso"));
        QAction* exit = menu.addAction(QStringLiteral("Salir_ya && luego"));
        exit->setEnabled(false);
        menu.addSeparator();
        menu.addAction(QStringLiteral("Oculta"))->setVisible(false);
        QMenu* more = menu.addMenu(QStringLiteral("Más"));
        more->addAction(QStringLiteral("Dentro"));
        DBusMenu dbusMenu;
        dbusMenu.setMenu(&menu);

        const DBusMenuLayout root = dbusMenu.layout(0, -1, {});
        QCOMPARE(root.children.size(), 5);
        // label, enabled, visible, kind, entries below it
        const struct {
            QString label;
            bool enabled, visible;
            QString type;
            int children;
        } expected[] = {
            {QStringLiteral("_Configurar Aviso"), true, true, QString(), 0},
            {QStringLiteral("Salir__ya & luego"), false, true, QString(), 0},
            {QString(), true, true, QStringLiteral("separator"), 0},
            {QStringLiteral("Oculta"), false, false, QString(), 0},
            {QStringLiteral("Más"), true, true, QString(), 1},
        };
        for (qsizetype i = 0; i < root.children.size(); ++i) {
            const QVariantMap& p = root.children[i].properties;
            QCOMPARE(p.value(QStringLiteral("label")).toString(), expected[i].label);
            QCOMPARE(p.value(QStringLiteral("enabled"), true).toBool(), expected[i].enabled);
            QCOMPARE(p.value(QStringLiteral("visible"), true).toBool(), expected[i].visible);
            QCOMPARE(p.value(QStringLiteral("type")).toString(), expected[i].type);
            QCOMPARE(root.children[i].children.size(), expected[i].children);
        }

        // A pick runs the entry once the panel has its answer; a disabled one runs nothing.
        QSignalSpy configured(configure, &QAction::triggered);
        QSignalSpy exited(exit, &QAction::triggered);
        dbusMenu.handleEvent(root.children[1].id, QStringLiteral("clicked"));
        dbusMenu.handleEvent(root.children[0].id, QStringLiteral("hovered"));
        dbusMenu.handleEvent(root.children[0].id, QStringLiteral("clicked"));
        QCOMPARE(configured.count(), 0);
        QTRY_COMPARE(configured.count(), 1);
        QCOMPARE(exited.count(), 0);

        // A change to the entries makes one new revision for the panel to read.
        QSignalSpy changed(&dbusMenu, &DBusMenu::changed);
        configure->setEnabled(false);
        exit->setEnabled(true);
        QTRY_COMPARE(changed.count(), 1);
        QVERIFY(!dbusMenu.layout(root.children[0].id, 0, {})
                     .properties.value(QStringLiteral("enabled"), true)
                     .toBool());
    }
};

QTEST_MAIN(TrayMenuTest)
#include "test_tray_menu.moc"
