#include "lock/form10.h"

#include "about/form5.h"
#include "about/pictures.h"
#include "app/form1.h"
#include "common/messages.h"
#include "common/twips.h"
#include "common/version.h"
#include "lock/lockcover.h"
#include "platform/screen.h"
#include "programa.h"
#include "settings/form7.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

constexpr char kTopTwips[] = "topTwips";

template <class W>
W* atTop(W* widget, int topTwips, int widthTwips, int heightTwips) {
    // Captions may need more room than the designed box in another font.
    const int height = std::max(twips(heightTwips), widget->sizeHint().height());
    widget->setGeometry(0, twips(topTwips), twips(widthTwips), height);
    // Kept for placing the row again on a screen lower than the design.
    widget->setProperty(kTopTwips, topTwips);
    return widget;
}

// A style sheet, not a palette: a desktop theme that changes while the program runs may hand
// every widget a palette of its own.
void whiteText(QWidget* w) {
    w->setStyleSheet(QStringLiteral("color: white"));
}

}  // namespace

Form10::Form10(Programa& p) : Form(p) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Covers the screen; the design size only fixes the vertical positions.
    resize(twipsSize(7515, 11415));
    setWindowState(Qt::WindowFullScreen);
    withdrawCloseCommand();  // only the right password opens it

    Picture2 = atTop(new Label(QString(), this), 960, 1875, 2415);
    Picture2->setPixmap(lockEmblem());
    Picture2->setAlignment(Qt::AlignCenter);

    Mensaje = atTop(new QLabel(QStringLiteral("El Tiempo ha Terminado."), this), 4680, 4935, 1335);
    Mensaje->setFixedHeight(twips(1335));  // a long text is wrapped and cut, never enlarged
    // From the top, so what does not fit is cut at the end, never at the start.
    Mensaje->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Mensaje->setWordWrap(true);
    QFont big = Mensaje->font();
    big.setPointSize(18);
    Mensaje->setFont(big);
    whiteText(Mensaje);

    Label1 = atTop(new Label(QStringLiteral("Ingrese su Contraseña"), this), 6600, 2400, 195);
    Label1->setAlignment(Qt::AlignCenter);
    whiteText(Label1);
    Pass = atTop(new TextBox(this), 6960, 2775, 285);
    Pass->setPasswordChar(true);
    Pass->setAccessibleName(QStringLiteral("Contraseña"));
    aceptar = atTop(new QPushButton(QStringLiteral("Aceptar"), this), 7440, 1095, 255);
    aceptar->setDefault(true);
    setDefaultButton(aceptar);
    Label2 = atTop(new Label(QStringLiteral("Nodavia 2019"), this), 8160, 1215, 255);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setCursor(Qt::PointingHandCursor);
    whiteText(Label2);
    Label3 =
        atTop(new Label(QStringLiteral("https://nodavia.example — avisos@nodavia.example"), this),
              8400, 5655, 195);
    Label3->setAlignment(Qt::AlignCenter);
    whiteText(Label3);

    const std::pair<QObject*, const char*> names[] = {
        {Picture2, "Picture2"}, {Mensaje, "Mensaje"}, {Label1, "Label1"}, {Pass, "Pass"},
        {aceptar, "aceptar"},   {Label2, "Label2"},   {Label3, "Label3"}};
    for (const auto& [object, name] : names) {
        object->setObjectName(QString::fromLatin1(name));
    }
    setTabOrder(Pass, aceptar);
    Pass->setFocus();

    connect(aceptar, &QPushButton::clicked, this, &Form10::aceptar_Click);
    connect(Label2, &Label::Click, this, &Form10::Label2_Click);
    // The window manager and other programs can still move the lock away, and the desktop
    // would then be free: while it is up, a watch puts it back.
    watch_.setInterval(200);
    connect(&watch_, &QTimer::timeout, this, &Form10::watchOver);
}

Form10::~Form10() = default;

ScreenLockService& Form10::screenLock() {
    return programa.platform.screenLock;
}

void Form10::Form_Load() {
    // The password box goes on the main screen; every other screen gets a cover, shown first
    // so that a window manager that activates the newest window activates the lock.
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        setScreen(primary);
        move(primary->geometry().topLeft());
    }
    coverOtherScreens();
    WindowOnTop(-1);
    setWindowTitle(versionCaption());
    // After the change, once the screens' windows have found their new places.
    connect(qApp, &QGuiApplication::screenAdded, this, &Form10::coverOtherScreens,
            Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::screenRemoved, this, &Form10::coverOtherScreens,
            Qt::QueuedConnection);
    // A pop-up menu of the password box takes the grabs for itself and ends them on closing:
    // they are taken back as soon as the keyboard returns.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &Form10::holdInput);
    // Where the desktop keeps the keyboard, its own lock screen covers this one.
    if (!screenLock().canHoldInput()) {
        screenLock().lockSession();
    }
    // The topmost band shows the lock without activating it; the password is typed here, so
    // it takes the keyboard once it is up.
    QTimer::singleShot(0, this, [this] { takeKeyboard(); });
}

void Form10::takeKeyboard() {
    raise();
    activateWindow();
    screenLock().activate(this);
    Pass->setFocus();
    holdInput();
}

void Form10::holdInput() {
    // Only while the lock is up (the watch runs), never after the right password; and never
    // while a pop-up menu of the program holds them: it would stop closing on a click outside.
    if (watch_.isActive() && QApplication::activePopupWidget() == nullptr) {
        screenLock().holdInput();
    }
}

void Form10::coverOtherScreens() {
    covers_.clear();
    for (QScreen* other : QGuiApplication::screens()) {
        if (other != screen()) {
            covers_.push_back(std::make_unique<LockCover>(screenLock(), other));
            covers_.back()->show();
        }
    }
}

void Form10::Form_Activate() {
    Pass->setFocus();
}

void Form10::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    screenLock().prepare(this);
    watch_.start();
}

QList<QWidget*> Form10::windowsOver() {
    QList<QWidget*> over;
    aboutOpened_ = aboutOpened_ && programa.loaded<Form5>();
    if (aboutOpened_ && programa.form5().isVisible()) {
        over.append(&programa.form5());
    }
    if (QWidget* message = QApplication::activeModalWidget(); refusing_ && message != nullptr) {
        over.append(message);
    }
    return over;
}

void Form10::watchOver() {
    // The window manager can iconify the lock, lower it, hide it to show the desktop, leave it
    // on another workspace, and another program can unmap it: whatever window of the program
    // is active, the lock comes back, under its own message and About window only.
    if (isMinimized() || !isFullScreen()) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
        show();
    }
    QList<QWidget*> surfaces{this};
    for (const auto& cover : covers_) {
        surfaces.append(cover.get());
    }
    const QList<QWidget*> over = windowsOver();
    screenLock().keep(surfaces, over);
    holdInput();
    QWidget* active = QApplication::activeWindow();
    if (active == this || over.contains(active)) {
        strikes_ = 0;
        return;
    }
    // Twice in a row: a new native window (out of the topmost band and back) is not active at
    // once.
    if (++strikes_ < 2) {
        return;
    }
    strikes_ = 0;
    if (over.isEmpty()) {
        takeKeyboard();
    } else {
        over.last()->activateWindow();
        screenLock().activate(over.last());
    }
}

void Form10::refuse(const QString& text) {
    // Out of the topmost band while the message is up, so the message is not hidden behind.
    WindowOnTop(0);
    refusing_ = true;
    programa.platform.messages.show(this, text, MessageIcon::Critical, kTitle);
    refusing_ = false;
    Pass->setFocus();
    WindowOnTop(-1);
    // Coming back into the band gives the window a new native window, shown without
    // activation: the keyboard must come back to the box, once the old one has gone.
    QTimer::singleShot(0, this, [this] { takeKeyboard(); });
}

void Form10::aceptar_Click() {
    if (Pass->text().isEmpty()) {
        refuse(QStringLiteral("Coloca la contraseña para continuar."));
        return;
    }
    if (Pass->text() != programa.form1().Pass->text()) {
        refuse(QStringLiteral("La contraseña es Incorrecta."));
        return;
    }
    programa.unload<Form10>();
    if (programa.form7().ShowStart->value() == 1) {
        programa.form1().show();
    }
}

void Form10::Form_Unload() {
    watch_.stop();
    screenLock().releaseInput();
    covers_.clear();
    // The About window came above the lock in the topmost band; without the lock it is an
    // ordinary window again, not one that floats above every other.
    if (programa.loaded<Form5>() && programa.form5().isOnTop()) {
        programa.form5().WindowOnTop(0);
    }
}

void Form10::Label2_Click() {
    Form5& about = programa.form5();
    aboutOpened_ = true;
    // Above the lock, which stays where it is; a full-screen window stays above the others
    // while it has the keyboard, so the About window takes it.
    about.WindowOnTop(-1);
    bringUp(about);
}

void Form10::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    const int w = width();
    const QList<QWidget*> rows = {Picture2, Mensaje, Label1, Pass, aceptar, Label2, Label3};
    QList<int> tops;
    for (QWidget* row : rows) {
        tops.append(twips(row->property(kTopTwips).toInt()));
    }
    // With a large font the design can be taller than the screen: the gaps between the rows
    // close up, and if that is not enough the rows move up together, so the password box and
    // its button always stay on the screen.
    const int overflow = tops.last() + Label3->height() - height();
    if (overflow > 0) {
        int gaps = 0;
        int previousBottom = 0;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            gaps += std::max(0, tops[i] - previousBottom);
            previousBottom = tops[i] + rows[i]->height();
        }
        const double keep = gaps > 0 ? std::max(0.0, 1.0 - double(overflow) / gaps) : 0.0;
        int y = 0;
        previousBottom = 0;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            y += static_cast<int>(std::max(0, tops[i] - previousBottom) * keep);
            previousBottom = tops[i] + rows[i]->height();
            tops[i] = y;
            y += rows[i]->height();
        }
        const int stillOver = std::max(0, y - height());
        for (int& top : tops) {
            top -= stillOver;
        }
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        rows[i]->move((w - rows[i]->width()) / 2, tops[i]);
    }
}

void Form10::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The tile's own colour first, so a missing picture still gives the same background.
    painter.fillRect(rect(), QColor(42, 84, 126));
    painter.drawTiledPixmap(rect(), lockTile());
}
