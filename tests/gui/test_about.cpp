// The About window, the help command and the program's pictures.

#include "about/form5.h"
#include "about/pictures.h"
#include "app/form1.h"
#include "common/version.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class AboutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void versionTextAndCaptions() {
        QCOMPARE(versionText(4, 10, 7), "4.10.7");
        QCOMPARE(versionText(4, 0, 55), "4.0.55");
        QCOMPARE(versionText(), TEMPIX_PROJECT_VERSION);

        TestProgram t;
        Form5& about = t.programa.form5();
        QCOMPARE(about.Version->text(), "Versión: " TEMPIX_PROJECT_VERSION);
        QCOMPARE(about.windowTitle(), "Nodavia Parlox v" TEMPIX_PROJECT_VERSION);
        QVERIFY(about.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!about.windowIcon().isNull());
        QCOMPARE(about.cerrar->text(), "X");
        QCOMPARE(about.webcp->text(), "Web de Omdal");
        QCOMPARE(about.CommandWeb->text(), "Web del Programa");
        QVERIFY(!about.webcp->toolTip().isEmpty());
        QCOMPARE(about.CommandWeb->toolTip(), about.webcp->toolTip());
        QCOMPARE(about.findChild<QPushButton*>("cerrar"), about.cerrar);
        QCOMPARE(about.findChild<QLabel*>("Version"), about.Version);
    }

    void webButtonsOpenTheirPagesAndCerrarUnloads() {
        TestProgram t;
        Form5& about = t.programa.form5();
        about.show();
        QTest::mouseClick(about.webcp, Qt::LeftButton);
        QTest::mouseClick(about.CommandWeb, Qt::LeftButton);
        QCOMPARE(t.fakes.opener.opened, (QList<QUrl>{QUrl("https://nodavia.example/"),
                                                     QUrl("https://nodavia.example/tempix")}));
        QVERIFY(t.programa.loaded<Form5>());
        QVERIFY(about.isVisible());

        QPointer<Form5> old = &about;
        QTest::mouseClick(about.cerrar, Qt::LeftButton);
        QVERIFY(!t.programa.loaded<Form5>());
        TestProgram::settle();
        QVERIFY(old.isNull());
        QCOMPARE(t.programa.form5().Version->text(), "Versión: " TEMPIX_PROJECT_VERSION);
    }

    void openedAgainWhileOpenIsTheSameWindow() {
        TestProgram t;
        t.programa.start();
        QAction* acerca = t.programa.form1().findChild<QAction*>("acerca");
        QVERIFY(acerca);
        acerca->trigger();
        Form5* first = &t.programa.form5();
        QVERIFY(first->isVisible());
        acerca->trigger();
        QCOMPARE(&t.programa.form5(), first);
        QVERIFY(first->isVisible());

        // From the Options window, which stays open behind it.
        t.programa.unload<Form5>();
        TestProgram::settle();
        Form7& options = t.programa.form7();
        options.show();
        QTest::mouseClick(options.acerca, Qt::LeftButton);
        QVERIFY(t.programa.loaded<Form5>() && t.programa.form5().isVisible());
        t.programa.unload<Form5>();
        TestProgram::settle();
        QTest::mouseClick(options.Label1, Qt::LeftButton);
        QVERIFY(t.programa.loaded<Form5>() && t.programa.form5().isVisible());
        QVERIFY(options.isVisible());
    }

    void helpIsTheProgramFoldersPageWhereverTheProgramRuns() {
        QTemporaryDir program;
        QTemporaryDir elsewhere;
        QVERIFY(program.isValid() && elsewhere.isValid());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));

        TestProgram t;
        t.fakes.paths.program = program.path();
        t.programa.start();
        QAction* ayuda = t.programa.form1().findChild<QAction*>("ayuda");
        QVERIFY(ayuda);
        ayuda->trigger();
        QDir::setCurrent(before);
        QCOMPARE(t.fakes.opener.opened,
                 QList<QUrl>{QUrl::fromLocalFile(program.path() + "/tempix_help.html")});
    }

    void picturesAreCompiledIn() {
        QCOMPARE(logoPicture().size(), QSize(61, 61));
        QCOMPARE(lockEmblem().size(), QSize(125, 161));

        const QImage tile = lockTile().toImage();
        QCOMPARE(tile.size(), QSize(5, 2000));
        for (int y = 0; y < tile.height(); y += 37) {
            for (int x = 0; x < tile.width(); ++x) {
                QCOMPARE(tile.pixelColor(x, y), QColor(42, 84, 126));
            }
        }

        TestProgram t;
        QCOMPARE(aboutBackground().size(), t.programa.form5().size());

        const QList<QSize> sizes = idleIcon().availableSizes();
        for (int size : {16, 22, 32, 48}) {
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
        }

        // Four different frames, each 16 pixels square.
        QList<QImage> frames;
        for (int i = 0; i < 4; ++i) {
            const QIcon frame = trayFrame(i);
            QCOMPARE(frame.availableSizes(), QList<QSize>{QSize(16, 16)});
            const QImage image = frame.pixmap(16, 16).toImage();
            QVERIFY(!frames.contains(image));
            // The same icon every time: the tray shows one each second.
            QCOMPARE(trayFrame(i).cacheKey(), frame.cacheKey());
            frames.append(image);
        }
    }
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
