// Light texts on the dark windows keep their colour when the desktop's theme changes while the
// program runs: qt6ct, told of a new colour scheme, hands every widget a palette of its own.

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "lock/form10.h"
#include "testprogram.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QTemporaryDir* config = nullptr;

// The theme's settings file, replaced as qt6ct's own window saves it.
void writeThemeSettings(const QByteArray& appearance) {
    const QString folder = config->path() + QStringLiteral("/qt6ct");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/new.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Appearance]\n" + appearance);
    file.close();
    QFile::remove(folder + QStringLiteral("/qt6ct.conf"));
    QVERIFY(file.rename(folder + QStringLiteral("/qt6ct.conf")));
}

}  // namespace

class ThemeChangeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lightTextsStayLight() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.ss->setText(QStringLiteral("5"));
        f.cmdIniciar1->click();
        for (int i = 0; i < 5; ++i) {
            t.fakes.ticks.advance(1000);
            f.tmrCronómetro1_Timer();
        }
        Form3& alert = t.programa.form3();
        Form10& lock = t.programa.form10();
        lock.show();
        Form5& about = t.programa.form5();
        about.show();
        const std::pair<QWidget*, QWidget*> texts[] = {
            {&alert, alert.Mensaje}, {&alert, alert.Label2}, {&lock, lock.Mensaje},
            {&lock, lock.Label1},    {&lock, lock.Label2},   {&lock, lock.Label3},
            {&about, about.Version}};
        for (const auto& [window, text] : texts) {
            QVERIFY2(firstLightRow(*window, text) >= 0, qPrintable(text->objectName()));
        }

        // A colour scheme with dark text, in another style.
        writeThemeSettings(
            "custom_palette=true\nstyle=Windows\n"
            "color_scheme_path=/usr/share/qt6ct/colors/airy.conf\n");
        const QColor before = alert.aceptar->palette().color(QPalette::Button);
        QTRY_VERIFY_WITH_TIMEOUT(alert.aceptar->palette().color(QPalette::Button) != before, 15000);
        for (const auto& [window, text] : texts) {
            QVERIFY2(firstLightRow(*window, text) >= 0, qPrintable(text->objectName()));
        }
    }
};

int main(int argc, char** argv) {
    // The theme reads its settings from a folder of the test's own.
    QTemporaryDir folder;
    config = &folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORMTHEME", "qt6ct");
    writeThemeSettings("custom_palette=false\nstyle=Fusion\n");
    QApplication app(argc, argv);
    // The theme starts watching its settings from the event loop.
    QCoreApplication::sendPostedEvents();
    ThemeChangeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_theme_change.moc"
