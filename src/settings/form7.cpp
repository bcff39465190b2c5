#include "settings/form7.h"

#include "about/form5.h"
#include "about/pictures.h"
#include "common/messages.h"
#include "common/twips.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"
#include "schedule/form11.h"
#include "settings/store.h"

#include <QPushButton>
#include <QTabWidget>

#include <utility>

namespace {

const QString kFlagFailure = QStringLiteral(
    "No se pudo guardar la opción: la configuración no se puede escribir. La ventana de "
    "Opciones la muestra como usted la dejó, pero no se recordará al volver a abrir Tempix.");
const QString kEntryWriteFailure = QStringLiteral(
    "No se pudo crear la entrada de inicio automático: Nodavia Tempix no se iniciará con la "
    "sesión.");
const QString kEntryFolderFailure = QStringLiteral(
    "No se pudo crear la entrada de inicio automático: el nombre de la carpeta de Nodavia "
    "Tempix no es texto válido (UTF-8). Mueva el programa a una carpeta con otro nombre.");
const QString kEntryRemoveFailure = QStringLiteral(
    "No se pudo quitar la entrada de inicio automático: no se puede borrar. Nodavia Tempix "
    "seguirá iniciándose con la sesión.");

// A page of the tab container. Its boxes are designed in the container's coordinates, which
// include the row of tabs, so they are placed again whenever the page moves or changes size.
class TabPage : public QWidget {
public:
    explicit TabPage(QTabWidget* container) : QWidget(container), container_(container) {}

    void add(CheckBox* box, QPoint inContainer) { boxes_.append({box, inContainer}); }

protected:
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        place();
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        place();
    }

private:
    void place() {
        const QPoint origin = mapTo(container_, QPoint(0, 0));
        for (const auto& [box, at] : std::as_const(boxes_)) {
            const QPoint topLeft = at - origin;
            // Captions get the room up to the page's right edge, rows the designed height or
            // what the font needs, centred on the designed row.
            const int height = std::max(box->sizeHint().height(), twips(255));
            box->setGeometry(topLeft.x(), topLeft.y() - (height - twips(255)) / 2,
                             std::max(0, width() - topLeft.x() - 4), height);
        }
    }

    QTabWidget* container_;
    QList<std::pair<CheckBox*, QPoint>> boxes_;
};

}  // namespace

Form7::Form7(Programa& p) : Form(p) {
    // A tool window: a close box, neither minimise nor maximise box, no taskbar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsSize(6270, 3150));
    setWindowIcon(idleIcon());

    Image1 = placed(new Label(QString(), this), twipsRect(120, 120, 915, 915));
    Image1->setPixmap(logoPicture().scaled(61, 61, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);
    Label1 =
        placed(new Label(QStringLiteral("Nodavia 2019"), this), twipsRect(120, 1200, 975, 375));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setShrinkToFit(true);
    Label1->setCursor(Qt::PointingHandCursor);
    acerca =
        placed(new QPushButton(QStringLiteral("Acerca"), this), twipsRect(120, 1800, 975, 375));

    SSTab1 = placed(new QTabWidget(this), twipsRect(1320, 120, 4845, 2895));
    auto* inicio = new TabPage(SSTab1);
    auto* finalizar = new TabPage(SSTab1);
    auto* guardar = new TabPage(SSTab1);
    SSTab1->addTab(inicio, QStringLiteral("Inicio del Aviso"));
    SSTab1->addTab(finalizar, QStringLiteral("Al Finalizar Aviso"));
    SSTab1->addTab(guardar, QStringLiteral("Guardar"));

    RunAuto = new CheckBox(QStringLiteral("Al abrir iniciar el ultimo Aviso Guardado."), inicio);
    state = new CheckBox(QStringLiteral("Iniciar siempre minimizado."), inicio);
    RunWin = new CheckBox(QStringLiteral("Iniciar con Windows."), inicio);
    ShowCron = new CheckBox(QStringLiteral("Mostrar Cronometro al iniciar Aviso."), inicio);
    NoDown = new CheckBox(QStringLiteral("Evitar que se cierre el Cronometro."), inicio);
    minimiza =
        new CheckBox(QStringLiteral("No minimizar Tempix cuando se inicie un aviso. "), inicio);
    StopSys =
        new CheckBox(QStringLiteral("Bloquear Pantalla en Avisos bajo Contraseña."), finalizar);
    ShowStart =
        new CheckBox(QStringLiteral("Mostrar Nodavia Tempix al desbloquear pantalla."), finalizar);
    ShowStart->setValue(1);
    ShowStart->setEnabled(false);
    sonido = new CheckBox(QStringLiteral("Reproducir sonido al terminar el Tiempo."), finalizar);
    sonido->setValue(1);
    WarnBefore = new CheckBox(
        QStringLiteral("Avisar un minuto antes de apagar, reiniciar o bloquear."), finalizar);
    WarnBefore->setValue(1);
    siempre = new CheckBox(QStringLiteral("Guardar siempre que se inicie un Aviso."), guardar);
    siempre->setValue(1);
    SaveShutDown = new CheckBox(
        QStringLiteral("Al Guardar incluir funciones de Apagar / Reiniciar."), guardar);
    SavePrec =
        new CheckBox(QStringLiteral("Recordar configuracion de funcion \"Precisar\"."), guardar);

    // One column per tab, top to bottom.
    const std::pair<TabPage*, QList<CheckBox*>> columns[] = {
        {inicio, {RunAuto, state, RunWin, ShowCron, NoDown, minimiza}},
        {finalizar, {StopSys, ShowStart, sonido, WarnBefore}},
        {guardar, {siempre, SaveShutDown, SavePrec}}};
    for (const auto& [page, boxes] : columns) {
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            page->add(boxes[i], QPoint(twips(360), twips(600 + 360 * static_cast<int>(i))));
        }
    }
    SSTab1->setCurrentIndex(2);

    const std::pair<QObject*, const char*> names[] = {
        {Image1, "Image1"},        {Label1, "Label1"},
        {acerca, "acerca"},        {SSTab1, "SSTab1"},
        {siempre, "siempre"},      {minimiza, "minimiza"},
        {sonido, "sonido"},        {RunWin, "RunWin"},
        {RunAuto, "RunAuto"},      {state, "state"},
        {StopSys, "StopSys"},      {ShowCron, "ShowCron"},
        {NoDown, "NoDown"},        {SaveShutDown, "SaveShutDown"},
        {ShowStart, "ShowStart"},  {SavePrec, "SavePrec"},
        {WarnBefore, "WarnBefore"}};
    for (const auto& [object, name] : names) {
        object->setObjectName(QString::fromLatin1(name));
    }

    // Connected after the initial states: only changes from here on are stored.
    connect(acerca, &QPushButton::clicked, this, &Form7::acerca_Click);
    connect(Label1, &Label::Click, this, &Form7::Label1_Click);
    connect(siempre, &CheckBox::Click, this, &Form7::siempre_Click);
    connect(minimiza, &CheckBox::Click, this, &Form7::minimiza_Click);
    connect(sonido, &CheckBox::Click, this, &Form7::sonido_Click);
    connect(RunWin, &CheckBox::Click, this, &Form7::RunWin_Click);
    connect(RunAuto, &CheckBox::Click, this, &Form7::RunAuto_Click);
    connect(state, &CheckBox::Click, this, &Form7::state_Click);
    connect(StopSys, &CheckBox::Click, this, &Form7::StopSys_Click);
    connect(ShowCron, &CheckBox::Click, this, &Form7::ShowCron_Click);
    connect(NoDown, &CheckBox::Click, this, &Form7::NoDown_Click);
    connect(SaveShutDown, &CheckBox::Click, this, &Form7::SaveShutDown_Click);
    connect(ShowStart, &CheckBox::Click, this, &Form7::ShowStart_Click);
    connect(SavePrec, &CheckBox::Click, this, &Form7::SavePrec_Click);
    connect(WarnBefore, &CheckBox::Click, this, &Form7::WarnBefore_Click);
}

void Form7::Form_Load() {
    setWindowTitle(versionCaption());
    // Each box runs its change handling as it is set, before the next one is read; what the
    // load cannot store is reported once for the whole load.
    reporting([this] {
        GuardedReader store(programa.platform.store);
        const std::pair<const char*, CheckBox*> order[] = {
            {"SaveAllEver", siempre},  {"Minimize", minimiza},
            {"Sound", sonido},         {"RunWin", RunWin},
            {"RunAuto", RunAuto},      {"WindowState", state},
            {"StopSys", StopSys},      {"ShowCron", ShowCron},
            {"NoDown", NoDown},        {"SaveShutDown", SaveShutDown},
            {"ShowStart", ShowStart},  {"SavePrec", SavePrec},
            {"WarnBefore", WarnBefore}};
        for (const auto& [name, box] : order) {
            store.intoCheck(QString::fromLatin1(name), box);
        }
    });
}

template <class F>
void Form7::reporting(F&& change) {
    ++reportingDepth_;
    std::forward<F>(change)();
    if (--reportingDepth_ == 0 && !failures_.isEmpty()) {
        const QString text = failures_.join(QStringLiteral("\n\n"));
        failures_.clear();
        programa.platform.messages.show(this, text, MessageIcon::Critical, kTitle);
    }
}

void Form7::failed(const QString& text) {
    if (!failures_.contains(text)) {
        failures_.append(text);
    }
}

void Form7::writeFlag(const QString& name, const CheckBox* box) {
    // The greyed state is stored as off.
    const QString data = box->value() == 1 ? QStringLiteral("1") : QStringLiteral("0");
    SettingsStore& store = programa.platform.store;
    if (!store.write(userValue(name), data) &&
        !GuardedReader(store).givesState(name, box->value())) {
        failed(kFlagFailure);
    }
}

void Form7::acerca_Click() {
    bringUp(programa.form5());
}

void Form7::Label1_Click() {
    bringUp(programa.form5());
}

void Form7::siempre_Click() {
    reporting([this] { writeFlag(QStringLiteral("SaveAllEver"), siempre); });
}

void Form7::minimiza_Click() {
    reporting([this] { writeFlag(QStringLiteral("Minimize"), minimiza); });
}

void Form7::sonido_Click() {
    reporting([this] { writeFlag(QStringLiteral("Sound"), sonido); });
}

void Form7::RunAuto_Click() {
    reporting([this] { writeFlag(QStringLiteral("RunAuto"), RunAuto); });
}

void Form7::state_Click() {
    reporting([this] { writeFlag(QStringLiteral("WindowState"), state); });
}

void Form7::NoDown_Click() {
    reporting([this] { writeFlag(QStringLiteral("NoDown"), NoDown); });
}

void Form7::SaveShutDown_Click() {
    reporting([this] { writeFlag(QStringLiteral("SaveShutDown"), SaveShutDown); });
}

void Form7::ShowStart_Click() {
    reporting([this] { writeFlag(QStringLiteral("ShowStart"), ShowStart); });
}

void Form7::WarnBefore_Click() {
    reporting([this] { writeFlag(QStringLiteral("WarnBefore"), WarnBefore); });
}

void Form7::ShowCron_Click() {
    // The stopwatch comes with the alert: staying open is cleared either way.
    reporting([this] {
        minimiza->setValue(0);
        writeFlag(QStringLiteral("ShowCron"), ShowCron);
    });
}

void Form7::StopSys_Click() {
    // Showing the program after the lock is only a choice while the lock is on.
    reporting([this] {
        const bool on = StopSys->value() == 1;
        ShowStart->setValue(on ? 1 : 0);
        ShowStart->setEnabled(on);
        writeFlag(QStringLiteral("StopSys"), StopSys);
    });
}

void Form7::SavePrec_Click() {
    // The target-time window's box mirrors this one; its own handling sets this box to the
    // state it already has, which ends the exchange.
    reporting([this] {
        writeFlag(QStringLiteral("SavePrec"), SavePrec);
        programa.form11().SavePrec2->setValue(SavePrec->value() == 1 ? 1 : 0);
    });
}

void Form7::RunWin_Click() {
    reporting([this] {
        SettingsStore& store = programa.platform.store;
        writeFlag(QStringLiteral("RunWin"), RunWin);
        if (RunWin->value() == 1) {
            const QString folder = programa.platform.paths.executableFolder();
            const QString program = folder + QStringLiteral("/tempix");
            if (folder.isEmpty()) {
                failed(kEntryFolderFailure);
            } else if (!store.write(kRunEntry, program) && !entryIs(store, program)) {
                failed(kEntryWriteFailure);
            }
        } else if (!store.remove(kRunEntry) && !entryIs(store, std::nullopt)) {
            failed(kEntryRemoveFailure);
        }
    });
}
