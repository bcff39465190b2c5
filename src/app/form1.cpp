// The main window: building, load, resize and unload.

#include "app/form1.h"

#include "about/pictures.h"
#include "common/messages.h"
#include "common/twips.h"
#include "common/version.h"
#include "lock/codec.h"
#include "lock/form10.h"
#include "lock/form9.h"
#include "platform/screen.h"
#include "programa.h"
#include "settings/store.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// The client area below the menu bar, in twips.
constexpr int kClientWidth = 4350;
constexpr int kClientHeight = 6165;

TextBox* timeBox(QWidget* parent, int left, int limit) {
    auto* box = placed(new TextBox(parent), twipsRect(left, 600, 975, 285));
    box->setCentred();
    box->setTypingLimit(limit);
    return box;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QRect& geometry) {
    return placed(new QGroupBox(caption, parent), geometry);
}

}  // namespace

Form1::Form1(Programa& p) : Form(p) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    fitUnitToScreen();
    buildControls();
    buildMenus();
    taskbarWait_.setInterval(100);
    connect(&taskbarWait_, &QTimer::timeout, this, &Form1::taskbarCheck);
    connect(&programa.platform.power, &PowerService::failed, this, &Form1::powerRequestFailed);
    connect(&programa.platform.notifier, &NotificationService::actionInvoked, this,
            &Form1::warningAction);
}

Form1::~Form1() = default;

void Form1::fitUnitToScreen() {
    // The tallest window: with its menu bar and the window manager's frame it must fit the
    // height that panels leave free, so the unit follows the font only that far.
    // Asked first, the window manager answers about its frame while the fonts load.
    askWindowFrame();
    QMenuBar probe;
    probe.addMenu(QStringLiteral("Archivo"));
    const int menuHeight = probe.sizeHint().height();
    const QMargins frame = windowFrame();
    const int room = availableArea().height() - frame.top() - frame.bottom() - menuHeight;
    if (room > 0) {
        limitPixelsPerTwip(room / static_cast<double>(kClientHeight));
    }
}

void Form1::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    auto* client = new QWidget(this);
    client->setFixedSize(twipsSize(kClientWidth, kClientHeight));
    layout->addWidget(client);

    Image1 = placed(new Label(QString(), client), twipsRect(120, 120, 915, 915));
    Image1->setPixmap(logoPicture().scaled(61, 61, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);

    lblTiempo1 =
        placed(new Label(QStringLiteral("00:00:00"), client), twipsRect(1320, 120, 2850, 870));
    QFont timeFont(QStringLiteral("Times New Roman"));
    timeFont.setStyleHint(QFont::Serif);
    timeFont.setPointSizeF(38.25);
    timeFont.setBold(true);
    lblTiempo1->setFont(timeFont);
    lblTiempo1->setAlignment(Qt::AlignCenter);
    // Fonts differ between desktops; long countdowns have more digits.
    lblTiempo1->setShrinkToFit(true);

    frameCuenta = frame(client, QStringLiteral("Programar Cuenta Regresiva:"),
                        twipsRect(120, 1200, 4095, 2055));
    h = placed(new Label(QStringLiteral("Horas"), frameCuenta), twipsRect(480, 360, 975, 255));
    m = placed(new Label(QStringLiteral("Minutos"), frameCuenta), twipsRect(1560, 360, 975, 255));
    s = placed(new Label(QStringLiteral("Segundos"), frameCuenta), twipsRect(2640, 360, 975, 255));
    for (Label* caption : {h, m, s}) {
        caption->setAlignment(Qt::AlignCenter);
    }
    hh = timeBox(frameCuenta, 480, 4);
    mm = timeBox(frameCuenta, 1560, 2);
    ss = timeBox(frameCuenta, 2640, 2);
    cmdIniciar1 = placed(new QPushButton(QStringLiteral("Iniciar Aviso"), frameCuenta),
                         twipsRect(360, 1080, 3360, 375));
    Command1 = placed(new QPushButton(QStringLiteral("Calcular"), frameCuenta),
                      twipsRect(480, 1560, 975, 375));
    detener = placed(new QPushButton(QStringLiteral("Detener"), frameCuenta),
                     twipsRect(1560, 1560, 975, 375));
    detener->setEnabled(false);
    guardar = placed(new QPushButton(QStringLiteral("Guardar"), frameCuenta),
                     twipsRect(2640, 1560, 975, 375));

    frameContra = frame(client, QStringLiteral("Proteger aviso mediante contraseña"),
                        twipsRect(120, 3360, 4095, 855));
    contra = placed(new CheckBox(QStringLiteral("Habilitar"), frameContra),
                    twipsRect(240, 360, 975, 195));
    Pass = placed(new TextBox(frameContra), twipsRect(1320, 360, 2535, 285));
    Pass->setPasswordChar(true);
    Pass->setCentred();
    // The password is stored as Windows-1252 codes: a character outside that code page
    // would come back as another password.
    Pass->setCharacterFilter([](QChar c) { return codePageCode(c).has_value(); });
    Pass->setEnabled(false);
    Pass->setBackColour(BackColour::Grey);

    frameTexto = frame(client, QStringLiteral("Personalizar texto del aviso"),
                       twipsRect(120, 4320, 4095, 855));
    habiltext = placed(new CheckBox(QStringLiteral("Habilitar"), frameTexto),
                       twipsRect(240, 360, 975, 195));
    texto = placed(new TextBox(frameTexto), twipsRect(1320, 360, 2535, 285));
    texto->setCentred();
    texto->setTypingLimit(60);
    texto->setEnabled(false);
    texto->setBackColour(BackColour::Grey);

    frameApaga = frame(client, QStringLiteral("Apagar equipo (WinXP o Superior)."),
                       twipsRect(120, 5280, 4095, 735));
    habapaga = placed(new CheckBox(QStringLiteral("Habilitar"), frameApaga),
                      twipsRect(240, 360, 975, 195));
    apaga = placed(new OptionButton(QStringLiteral("Apagar"), frameApaga),
                   twipsRect(1560, 360, 975, 195));
    reinicia = placed(new OptionButton(QStringLiteral("Reiniciar"), frameApaga),
                      twipsRect(2760, 360, 1095, 255));
    apaga->setEnabled(false);
    reinicia->setEnabled(false);

    // Fonts wider than the designed one would cut "Habilitar": its box gets the room its
    // caption needs, taken from the field beside it.
    for (auto [box, next] : {std::pair<CheckBox*, QWidget*>{contra, Pass},
                             std::pair<CheckBox*, QWidget*>{habiltext, texto},
                             std::pair<CheckBox*, QWidget*>{habapaga, apaga}}) {
        const int needed = box->sizeHint().width() + 4;
        const int room = next->x() - box->x();
        if (needed > room && next != apaga) {
            next->setGeometry(next->x() + needed - room, next->y(), next->width() - (needed - room),
                              next->height());
        }
        const int height = std::max(box->height(), box->sizeHint().height());
        box->setGeometry(box->x(), box->y() - (height - box->height()) / 2,
                         std::max(box->width(), std::min(needed, next->x() - box->x())), height);
    }

    // What a screen reader announces: the time boxes by the captions above them, the other
    // boxes by what they hold, and each "Habilitar" box with what it enables.
    hh->setAccessibleName(QStringLiteral("Horas"));
    mm->setAccessibleName(QStringLiteral("Minutos"));
    ss->setAccessibleName(QStringLiteral("Segundos"));
    Pass->setAccessibleName(QStringLiteral("Contraseña del aviso"));
    texto->setAccessibleName(QStringLiteral("Texto del aviso"));
    for (auto [box, frame] : {std::pair{contra, frameContra}, std::pair{habiltext, frameTexto},
                              std::pair{habapaga, frameApaga}}) {
        box->setAccessibleName(box->text() + QStringLiteral(": ") + frame->title());
    }

    txtCantidadSegundos1 = placed(new TextBox(client), twipsRect(5040, 3120, 1515, 285));
    txtCantidadSegundos1->setCentred();
    txtCantidadSegundos1->setEnabled(false);
    txtCantidadSegundos1->setAccessibleName(QStringLiteral("Total de segundos"));

    tmrCronómetro1 = new QTimer(this);
    tmrCronómetro1->setObjectName(QStringLiteral("tmrCronómetro1"));
    tmrCronómetro1->setInterval(1000);
    tmrCronómetro1->setTimerType(Qt::PreciseTimer);

    // Every control is found by its name, as the other windows and the tests refer to it.
    const std::pair<QObject*, const char*> names[] = {
        {Image1, "Image1"},
        {lblTiempo1, "lblTiempo1"},
        {frameCuenta, "frameCuenta"},
        {h, "h"},
        {m, "m"},
        {s, "s"},
        {hh, "hh"},
        {mm, "mm"},
        {ss, "ss"},
        {cmdIniciar1, "cmdIniciar1"},
        {Command1, "Command1"},
        {detener, "detener"},
        {guardar, "guardar"},
        {frameContra, "frameContra"},
        {contra, "contra"},
        {Pass, "Pass"},
        {frameTexto, "frameTexto"},
        {habiltext, "habiltext"},
        {texto, "texto"},
        {frameApaga, "frameApaga"},
        {habapaga, "habapaga"},
        {apaga, "apaga"},
        {reinicia, "reinicia"},
        {txtCantidadSegundos1, "txtCantidadSegundos1"}};
    for (const auto& [object, name] : names) {
        object->setObjectName(QString::fromLatin1(name));
    }

    const QList<QWidget*> tabOrder = {cmdIniciar1, contra,   Pass,    texto,   habiltext,
                                      ss,          mm,       hh,      guardar, habapaga,
                                      apaga,       reinicia, detener, Command1};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(lblTiempo1)}) {
        w->setFocusPolicy(Qt::NoFocus);
    }
    cmdIniciar1->setDefault(true);
    setDefaultButton(cmdIniciar1);
    cmdIniciar1->setFocus();

    connect(cmdIniciar1, &QPushButton::clicked, this, &Form1::cmdIniciar1_Click);
    connect(tmrCronómetro1, &QTimer::timeout, this, &Form1::tmrCronómetro1_Timer);
    connect(hh, &TextBox::Change, this, &Form1::hh_Change);
    connect(mm, &TextBox::Change, this, &Form1::mm_Change);
    connect(ss, &TextBox::Change, this, &Form1::ss_Change);
    connect(Pass, &TextBox::Change, this, &Form1::Pass_Change);
    connect(texto, &TextBox::Change, this, &Form1::texto_Change);
    connect(lblTiempo1, &Label::Change, this, &Form1::lblTiempo1_Change);
    connect(contra, &CheckBox::Click, this, &Form1::contra_Click);
    connect(habiltext, &CheckBox::Click, this, &Form1::habiltext_Click);
    connect(habapaga, &CheckBox::Click, this, &Form1::habapaga_Click);
    connect(detener, &QPushButton::clicked, this, &Form1::detener_Click);
    connect(guardar, &QPushButton::clicked, this, &Form1::guardar_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
}

void Form1::Form_Load() {
    setWindowTitle(versionCaption());
    setWindowIcon(idleIcon());
    GuardedReader store(programa.platform.store);

    const QString windowState = store.text(QStringLiteral("WindowState")).value_or(QString());
    if (windowState == u"1") {
        setStateMinimised();
    }

    trayAdd();

    store.intoText(QStringLiteral("hh"), hh);
    store.intoText(QStringLiteral("mm"), mm);
    store.intoText(QStringLiteral("ss"), ss);

    const QString blockPass = store.text(QStringLiteral("BlockPass")).value_or(QString());
    if (const auto decoded = DecodificaPass(blockPass)) {
        Pass->setText(*decoded);
    }

    if (!Pass->text().isEmpty() && programa.platform.instances.earlierInstanceRunning()) {
        programa.platform.messages.show(
            this,
            QStringLiteral("No se puede abrir Nodavia Tempix mas de una vez si hay un aviso "
                           "configurado bajo contraseña."),
            MessageIcon::Critical, kTitle);
        programa.unload<Form1>();
        return;
    }

    store.intoText(QStringLiteral("TextPerson"), texto);
    store.intoCheck(QStringLiteral("ShutState"), habapaga);
    store.intoOption(QStringLiteral("Shutdown"), apaga);
    store.intoOption(QStringLiteral("Restart"), reinicia);

    const QString runAuto = store.text(QStringLiteral("RunAuto")).value_or(QString());
    if (runAuto != u"1") {
        return;
    }
    IniciaTimer();
    if (windowState == u"1") {
        setStateMinimised();
    }
}

void Form1::Form_Unload() {
    tmrCronómetro1->stop();
    clock_.reset();
    withdrawWarning();
    trayDelete();
    programa.end();
}

void Form1::setStateNormal() {
    settingState_ = true;
    if (isHidden() && isMinimized() && testAttribute(Qt::WA_WState_Created)) {
        // On X, leaving the minimised state maps the native window even while the window is
        // hidden, as an empty frame. A hidden window gives its native window up instead and
        // gets a new one when it is shown.
        destroy();
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    settingState_ = false;
}

void Form1::setStateMinimised() {
    settingState_ = true;
    if (!testAttribute(Qt::WA_WState_Created)) {
        // Qt on X restores a minimised window to give it another size, and the window manager
        // would show it: the window gets its size before its native window is made.
        adjustSize();
    }
    setWindowState(windowState() | Qt::WindowMinimized);
    settingState_ = false;
}

void Form1::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        Form_Resize(static_cast<QWindowStateChangeEvent*>(event)->oldState());
        placeOnce();
    }
}

bool Form1::protectedByPassword() const {
    return !Pass->text().isEmpty();
}

void Form1::Form_Resize(Qt::WindowStates before) {
    if (isMinimized()) {
        // Hidden, the window lives in the notification area. Without one it stays minimised
        // in the taskbar, so there is always a way back to it.
        if (programa.platform.tray.available()) {
            hide();
        } else if (isHidden()) {
            // Minimised before it was ever shown (an automatic start): only the taskbar is
            // left as a way back, so the window goes there once the load is over.
            QTimer::singleShot(0, this, [this] {
                if (isHidden() && isMinimized() && !programa.ended()) {
                    showInTaskbar();
                }
            });
        }
        return;
    }
    if (!before.testFlag(Qt::WindowMinimized) || settingState_) {
        return;
    }
    if (isHidden() || taskbarWait_.isActive() ||
        windowManagerState(*this) != WindowManagerState::Normal) {
        // No user restored it: a hidden window is in no taskbar, one the program is putting
        // there is shown normally on the way by some window managers, and one the window manager
        // still has minimised was not restored: on X its word on a window it withdraws or maps
        // can reach Qt late and read as "no longer minimised". It stays minimised.
        setStateMinimised();
        return;
    }
    // Without a notification area the user can restore the window from the taskbar; with a
    // password in force that way leads through the password prompt, as the tray menu does.
    if (protectedByPassword() && !programa.platform.tray.available()) {
        setStateMinimised();
        nuevo_Click();
    }
}

void Form1::showInTaskbar() {
    // Window managers that honour a window's initial state map it minimised at once; GNOME's
    // shows it normally first, and minimises it when the program asks again (Form_Resize). The
    // window is on its way until the window manager has it minimised.
    show();
    taskbarChecks_ = 0;
    taskbarWait_.start();
}

void Form1::taskbarCheck() {
    constexpr int kMaxChecks = 100;
    if (windowManagerState(*this) == WindowManagerState::Minimised || !isMinimized() ||
        isHidden() || ++taskbarChecks_ >= kMaxChecks) {
        taskbarWait_.stop();
    }
}

void Form1::trayAvailabilityChanged(bool available) {
    if (!available) {
        // The way back would be gone: a hidden window waits minimised in the taskbar.
        if (isHidden() && isMinimized()) {
            showInTaskbar();
        }
        return;
    }
    programa.platform.tray.add(trayPicture_, trayTip_);
    if (isMinimized()) {
        hide();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    // With a tray host a protected window is on screen only after its password was typed, and
    // closing it ends the program. Without one it waits minimised in the taskbar, whose close
    // command would end a running protected alert, or take a screen lock away, with no
    // password: that exit goes through the prompt, which ends the program after the right one.
    if (!programa.platform.tray.available() &&
        (tmrCronómetro1->isActive() || programa.loaded<Form10>()) && protectedByPassword()) {
        event->ignore();
        Form9& prompt = programa.form9();
        prompt.accion = QStringLiteral("salir");
        bringUp(prompt);
        return;
    }
    Form::closeEvent(event);
}

void Form1::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    placeOnce();
}

void Form1::placeOnce() {
    // Qt on X restores a minimised window to move it, which the window manager would show and
    // then report as the user restoring it: the window is centred once it is on screen.
    if (!placed_ && isVisible() && !isMinimized()) {
        placed_ = true;
        centreOnScreen(this);
    }
}
