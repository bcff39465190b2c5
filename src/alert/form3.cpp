#include "alert/form3.h"

#include "about/pictures.h"
#include "app/form1.h"
#include "lock/form9.h"
#include "platform/screen.h"
#include "programa.h"
#include "settings/form7.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 220;
}  // namespace

Form3::Form3(Programa& p) : Form(p) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Velmora Tempix"));
    setFixedSize(kWidth, kHeight);

    Mensaje = new QLabel(QStringLiteral("El Tiempo ha Terminado."), this);
    Mensaje->setObjectName(QStringLiteral("Mensaje"));
    Mensaje->setGeometry(104, 16, kWidth - 120, 90);
    // From the top, so a long text is cut at its end, never at its start.
    Mensaje->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Mensaje->setWordWrap(true);
    QFont big = Mensaje->font();
    big.setPointSize(18);
    Mensaje->setFont(big);

    auto button = [this](const char* name, const QString& caption, int row) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(kWidth - 140, 108 + row * 34, 120, 28);
        return b;
    };
    aceptar = button("aceptar", QStringLiteral("Aceptar"), 0);
    nuevo = button("nuevo", QStringLiteral("Nuevo Aviso"), 1);
    salir = button("salir", QStringLiteral("Salir"), 2);
    setTabOrder(aceptar, nuevo);
    setTabOrder(nuevo, salir);
    aceptar->setFocus();

    Label2 = new Label(QStringLiteral("Nodavia 2019"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, kHeight - 28, 140, 18);

    // Light text on the dark picture. A style sheet, not a palette: a desktop theme that
    // changes while the program runs may hand every widget its own palette.
    Mensaje->setStyleSheet(QStringLiteral("color: white"));
    Label2->setStyleSheet(QStringLiteral("color: white"));

    connect(aceptar, &QPushButton::clicked, this, &Form3::aceptar_Click);
    connect(nuevo, &QPushButton::clicked, this, &Form3::nuevo_Click);
    connect(salir, &QPushButton::clicked, this, &Form3::salir_Click);
}

void Form3::Form_Load() {
    Form1& main = programa.form1();
    // With a password the window stays out of the topmost band, so the prompt can come above.
    if (!passwordInForce()) {
        WindowOnTop(-1);
    }
    withdrawCloseCommand();
    if (programa.form7().sonido->value() == 1) {
        programa.platform.sound.play(programa.platform.paths.programFolder() +
                                     QStringLiteral("/nodav.wav"));
    }
    main.detener->setEnabled(false);
}

bool Form3::passwordInForce() const {
    return !programa.form1().Pass->text().isEmpty();
}

void Form3::askPassword(const QString* action) {
    WindowOnTop(0);
    Form9& prompt = programa.form9();
    if (action) {
        prompt.accion = *action;
    }
    // A prompt the window manager let the user minimise comes back as it is asked for again.
    prompt.setWindowState(prompt.windowState() & ~Qt::WindowMinimized);
    bringUp(prompt);
}

void Form3::aceptar_Click() {
    if (passwordInForce()) {
        askPassword(nullptr);  // the prompt's pending action stays as it is
        return;
    }
    Form1& main = programa.form1();
    main.cmdIniciar1->setEnabled(true);
    main.hh->setEnabled(true);
    main.mm->setEnabled(true);
    main.ss->setEnabled(true);
    main.texto->clear();
    main.Pass->clear();
    main.txtCantidadSegundos1->clear();
    programa.unload<Form3>();
}

void Form3::nuevo_Click() {
    if (passwordInForce()) {
        const QString action = QStringLiteral("nuevo");
        askPassword(&action);
        return;
    }
    Form1& main = programa.form1();
    main.txtCantidadSegundos1->clear();
    main.Pass->clear();
    main.texto->clear();
    main.setStateNormal();
    main.hh->clear();
    main.mm->clear();
    main.ss->clear();
    main.hh->setEnabled(true);
    main.mm->setEnabled(true);
    main.ss->setEnabled(true);
    bringUp(main);
    programa.unload<Form3>();
}

void Form3::salir_Click() {
    if (passwordInForce()) {
        const QString action = QStringLiteral("salir");
        askPassword(&action);
        return;
    }
    programa.unload<Form1>();
}

void Form3::paintEvent(QPaintEvent*) {
    // The lock's blue, darker towards the bottom, with the program's logo.
    QPainter painter(this);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, QColor(52, 104, 156));
    shade.setColorAt(1, QColor(24, 48, 72));
    painter.fillRect(rect(), shade);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(20, 24, 72, 72), logoPicture());
    painter.setPen(QColor(255, 255, 255, 90));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Form3::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (!placed_) {
        placed_ = true;
        centreOnScreen(this);
    }
}
