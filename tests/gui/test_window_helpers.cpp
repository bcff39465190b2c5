// Keeping a window above the others, withdrawing its close command, and the layout unit that
// follows the application font.

#include "about/form5.h"
#include "app/form1.h"
#include "platform/form.h"
#include "platform/linux/basic.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <utility>

// Remembers whether it was last shown without taking the focus. The offscreen platform
// activates every window it shows, so that is what can be seen here.
class Probe : public Form {
public:
    using Form::Form;
    bool shownQuietly = false;

protected:
    void showEvent(QShowEvent* event) override {
        Form::showEvent(event);
        shownQuietly = testAttribute(Qt::WA_ShowWithoutActivating);
    }
};

class WindowHelpersTest : public QObject {
    Q_OBJECT

    static void showAt(QWidget& w, const QRect& geometry) {
        w.setGeometry(geometry);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private Q_SLOTS:
    void flagsOtherThanOnAndOffChangeNothing() {
        TestProgram t;
        Form shown(t.programa);
        showAt(shown, QRect(100, 120, 220, 90));
        Form hidden(t.programa);
        const Qt::WindowFlags before = shown.windowFlags();
        for (int flag : {1, -2, 2, 32767}) {
            shown.WindowOnTop(flag);
            hidden.WindowOnTop(flag);
        }
        QCOMPARE(shown.windowFlags(), before);
        QCOMPARE(shown.geometry(), QRect(100, 120, 220, 90));
        QVERIFY(shown.isVisible());
        QVERIFY(!hidden.isVisible());
        QVERIFY(!hidden.isOnTop());
    }

    void onAndOffKeepPlaceAndSizeAndDoNotActivate() {
        TestProgram t;
        Probe f(t.programa);
        showAt(f, QRect(100, 120, 220, 90));
        QVERIFY(!f.shownQuietly);

        f.WindowOnTop(-1);
        QVERIFY(f.isOnTop());
        QVERIFY(f.isVisible());
        QVERIFY(f.shownQuietly);
        QCOMPARE(f.geometry(), QRect(100, 120, 220, 90));

        f.WindowOnTop(-1);  // already on: nothing moves
        QCOMPARE(f.geometry(), QRect(100, 120, 220, 90));

        f.WindowOnTop(0);
        QVERIFY(!f.isOnTop());
        QVERIFY(f.isVisible());
        QVERIFY(f.shownQuietly);
        QCOMPARE(f.geometry(), QRect(100, 120, 220, 90));
        // Later showings activate as usual.
        QVERIFY(!f.testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void turningOnAHiddenWindowShowsItWhereItWasPut() {
        TestProgram t;
        Probe f(t.programa);
        f.setGeometry(60, 70, 150, 50);
        f.WindowOnTop(-1);
        QVERIFY(f.isVisible());
        QVERIFY(f.shownQuietly);
        QVERIFY(f.isOnTop());
        QCOMPARE(f.geometry(), QRect(60, 70, 150, 50));
    }

    void theWindowWithTheFocusKeepsIt() {
        TestProgram t;
        Form f(t.programa);
        showAt(f, QRect(100, 120, 220, 90));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.WindowOnTop(-1);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(f.geometry(), QRect(100, 120, 220, 90));
    }

    void aWithdrawnCloseCommandIgnoresCloseRequests() {
        TestProgram t;
        Form5& about = t.programa.form5();
        about.show();
        about.withdrawCloseCommand();
        QVERIFY(!about.close());
        QVERIFY(t.programa.loaded<Form5>());
        QVERIFY(about.isVisible());

        // Without it, the close box unloads the window.
        t.programa.unload<Form5>();
        TestProgram::settle();
        t.programa.form5().show();
        t.programa.form5().close();
        QVERIFY(!t.programa.loaded<Form5>());
    }

    void aMessageOfAWindowNotOnScreenIsCentred() {
        // As the one-instance message of a main window that is never shown.
        TestProgram t;
        Form neverShown(t.programa);
        neverShown.resize(290, 411);
        QRect placed;
        QTimer::singleShot(0, this, [&] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                placed = box->geometry();
                box->done(0);
            }
        });
        LinuxMessages().show(&neverShown, QStringLiteral("Otra vez"), MessageIcon::Critical,
                             QStringLiteral("Nodavia Tempix"));
        const QRect screen = neverShown.screen()->availableGeometry();
        QVERIFY(!placed.isEmpty());
        QVERIFY2(
            (placed.center() - screen.center()).manhattanLength() < 8,
            qPrintable(QStringLiteral("%1,%2").arg(placed.center().x()).arg(placed.center().y())));
    }

    // Windows grow with the font, never fall below their designed size, and grow only as far as
    // the main window, the tallest, still fits the screen's free height.
    void windowsFollowTheApplicationFont() {
        const QFont original = QApplication::font();
        auto sizesAt = [&original](qreal points) {
            QFont font = original;
            font.setPointSizeF(points);
            QApplication::setFont(font);
            TestProgram t;
            // All four menus on the main window's menu bar, none behind its "more" button.
            Form1& main = t.programa.form1();
            main.show();
            for (QAction* menu : main.menuBar->actions()) {
                if (!main.menuBar->rect().contains(main.menuBar->actionGeometry(menu))) {
                    qWarning() << points << "pt: menu hidden:" << menu->text();
                    return std::pair{QSize(), QSize()};
                }
            }
            return std::pair{main.size(), t.programa.form7().size()};
        };
        QCOMPARE(sizesAt(4).second, QSize(418, 210));  // 6270 x 3150 twips at 15 twips a pixel
        const QSize options10 = sizesAt(10).second;
        const QSize main14 = sizesAt(14).first;
        QApplication::setFont(original);
        QVERIFY(options10.width() > 418);
        const int freeHeight = QGuiApplication::primaryScreen()->availableGeometry().height();
        QVERIFY2(main14.height() <= freeHeight && main14.height() > freeHeight * 9 / 10,
                 qPrintable(QStringLiteral("%1 of %2").arg(main14.height()).arg(freeHeight)));
    }
};

QTEST_MAIN(WindowHelpersTest)
#include "test_window_helpers.moc"
