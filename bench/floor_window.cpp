// The floor for the start-up figure: the least a Qt Widgets program does to show a window, one
// label in the default font, titled by its first argument. bench/run starts it side by side with
// the program, so both see the same machine at the same moment.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("00:00:00"));
    label.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("floor"));
    label.show();
    return app.exec();
}
