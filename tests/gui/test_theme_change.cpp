// Light texts on the dark windows stay light when the desktop's theme changes while the program
// runs: qt6ct, told of a new colour scheme, hands every widget a palette of its own.

#include "about/form5.h"
#include "alert/form3.h"
#include "lock/form10.h"
#include "testprogram.h"

#include <QApplication>
#include <QTest>

class ThemeChangeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lightTextsStayLight() {
        TestProgram t;
        t.programa.start();
        Form3& alert = t.programa.form3();
        Form10& lock = t.programa.form10();
        Form5& about = t.programa.form5();
        QPalette dark = QApplication::palette();
        dark.setColor(QPalette::WindowText, Qt::black);
        for (QWidget* widget : QApplication::allWidgets()) {
            widget->setPalette(dark);
        }
        const std::pair<QWidget*, QWidget*> texts[] = {
            {&alert, alert.Mensaje}, {&alert, alert.Label2}, {&lock, lock.Mensaje},
            {&lock, lock.Label1},    {&lock, lock.Label2},   {&lock, lock.Label3},
            {&about, about.Version}};
        for (const auto& [window, text] : texts) {
            QVERIFY2(firstLightRow(*window, text) >= 0, qPrintable(text->objectName()));
        }
    }
};

QTEST_MAIN(ThemeChangeTest)
#include "test_theme_change.moc"
