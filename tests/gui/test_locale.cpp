// The program on a Spanish desktop: a typed decimal comma or point reads the same whatever the
// locale, and Qt's own texts are Spanish. Run under es_ES.UTF-8 and under C.

#include "app/form1.h"
#include "platform/linux/basic.h"
#include "platform/linux/translations.h"
#include "schedule/form11.h"
#include "testprogram.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <memory>

class LocaleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // QApplication has set the process locale from the environment, as in the program.
        if (qEnvironmentVariable("LC_ALL").startsWith(u"es_ES")) {
            QVERIFY2(QString::fromLatin1(std::localeconv()->decimal_point) == u",",
                     "the es_ES.UTF-8 locale is not generated on this machine");
        }
        installQtTranslations(*qApp);
    }

    void typedNumbersUseThePoint_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("total");
        QTest::newRow("point") << "1.5"
                               << "5400";
        QTest::newRow("comma") << "1,5"
                               << "5400";
        QTest::newRow("half an hour, not zero") << "0,5"
                                                << "1800";
    }
    void typedNumbersUseThePoint() {
        QFETCH(QString, typed);
        QFETCH(QString, total);
        TestProgram t;
        Form1& f = t.programa.form1();
        QTest::keyClicks(f.hh, typed);
        f.cmdIniciar1->click();
        QCOMPARE(f.txtCantidadSegundos1->text(), total);
    }

    void targetTimeFractionsReachTheCount() {
        TestProgram t;
        t.fakes.clock.current.setTime(QTime(10, 20));
        Form1& main = t.programa.form1();
        main.Command1->click();
        Form11& f = t.programa.form11();
        f.dias->setCurrentText(QStringLiteral("Hoy"));
        f.horas->setCurrentText(QStringLiteral("11,5"));
        f.minutos->setCurrentText(QStringLiteral("20,25"));
        f.merid->setCurrentText(QStringLiteral("A.M."));
        f.convertir->click();
        QCOMPARE(main.hh->text(), "1.5");
        QCOMPARE(main.mm->text(), "0.25");
        main.cmdIniciar1->click();
        QCOMPARE(main.txtCantidadSegundos1->text(), "5415");
    }

    void qtTextsAreSpanish() {
        QString button;
        QTimer::singleShot(0, this, [&button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            button = box->button(QMessageBox::Ok)->text();
            box->accept();
        });
        LinuxMessages().show(nullptr, QStringLiteral("Prueba"), MessageIcon::Information,
                             QStringLiteral("Nodavia Tempix"));
        QCOMPARE(button, "Aceptar");

        TextBox box(nullptr);
        const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QVERIFY(menu->actions().first()->text().remove(u'&').startsWith(u"Deshacer"));
    }
};

QTEST_MAIN(LocaleTest)
#include "test_locale.moc"
