#include "schedule/form11.h"

#include "about/form5.h"
#include "about/pictures.h"
#include "app/form1.h"
#include "common/messages.h"
#include "common/numeric.h"
#include "common/twips.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"
#include "schedule/targettime.h"
#include "settings/form7.h"
#include "settings/store.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

const QString kHourRefused = QStringLiteral("Coloca o Selecciona un valor entre 0 y 12 en Horas");
const QString kMinuteRefused = QStringLiteral("Coloca o Selecciona un valor entre 0 y 59 en Horas");
const QString kStoreFailure = QStringLiteral(
    "No se pudo guardar la configuración: no se puede escribir. La ventana conserva lo que "
    "elegiste, pero no se recordará al volver a abrirla.");

QStringList twoDigitNumbers(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n) {
        items.append(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
    }
    return items;
}

// A list that can be typed into. The text is taken exactly as typed: no completion that
// would change its case, no new entries added on Enter, no length limit.
QComboBox* editableList(QWidget* parent, const char* name, const QStringList& items,
                        const QString& text, const QRect& geometry) {
    auto* list = placed(new QComboBox(parent), geometry);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    list->addItems(items);
    list->setMaxVisibleItems(12);
    list->setCurrentText(text);
    return list;
}

Label* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* l = placed(new Label(caption, parent), geometry);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

Form11::Form11(Programa& p) : Form(p) {
    // A fixed single border: a title with a close box, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsSize(5010, 2175));
    setWindowIcon(idleIcon());

    Image1 = label(this, "Image1", QString(), twipsRect(120, 120, 915, 915));
    Image1->setPixmap(logoPicture().scaled(twips(915), twips(915), Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);

    Label14 =
        label(this, "Label14", QStringLiteral("Nodavia 2019"), twipsRect(60, 1095, 1035, 420));
    Label14->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label14->setWordWrap(true);
    Label14->setCursor(Qt::PointingHandCursor);

    Label4 = label(this, "Label4",
                   QStringLiteral("Llena dentro de cuantos dias y la hora exacta en que quieres "
                                  "que aparezca el aviso."),
                   twipsRect(1200, 120, 3690, 735));
    Label4->setWordWrap(true);

    Label8 = label(this, "Label8", QStringLiteral("Dias"), twipsRect(1200, 915, 855, 225));
    Label1 = label(this, "Label1", QStringLiteral("Hora"), twipsRect(2175, 915, 735, 225));
    Label3 = label(this, "Label3", QStringLiteral("Minutos"), twipsRect(3135, 915, 735, 225));

    QStringList days{QStringLiteral("Hoy")};
    days.append(twoDigitNumbers(1, 10));
    dias = editableList(this, "dias", days, QStringLiteral("Hoy"), twipsRect(1200, 1155, 855, 315));
    horas = editableList(this, "horas", twoDigitNumbers(0, 12), QStringLiteral("00"),
                         twipsRect(2175, 1155, 735, 315));

    Label2 = label(this, "Label2", QStringLiteral(":"), twipsRect(2910, 1095, 225, 375));
    QFont colon = Label2->font();
    colon.setPointSizeF(13.5);
    colon.setBold(true);
    Label2->setFont(colon);
    Label2->setAlignment(Qt::AlignCenter);

    // The minute list ends with "00" once more, after "59".
    QStringList minutes = twoDigitNumbers(0, 59);
    minutes.append(QStringLiteral("00"));
    minutos = editableList(this, "minutos", minutes, QStringLiteral("00"),
                           twipsRect(3135, 1155, 735, 315));
    merid = editableList(this, "merid", {QStringLiteral("A.M."), QStringLiteral("P.M.")},
                         QStringLiteral("A.M."), twipsRect(3990, 1155, 900, 315));

    // The lists are announced by the captions above them.
    dias->setAccessibleName(QStringLiteral("Días"));
    horas->setAccessibleName(QStringLiteral("Hora"));
    minutos->setAccessibleName(QStringLiteral("Minutos"));
    merid->setAccessibleName(QStringLiteral("A.M. o P.M."));

    SavePrec2 = placed(new CheckBox(QStringLiteral("Recordar configuracion"), this),
                       twipsRect(1200, 1695, 2400, 285));
    SavePrec2->setObjectName(QStringLiteral("SavePrec2"));

    convertir =
        placed(new QPushButton(QStringLiteral("Aceptar"), this), twipsRect(3795, 1635, 1095, 375));
    convertir->setObjectName(QStringLiteral("convertir"));

    connect(convertir, &QPushButton::clicked, this, &Form11::convertir_Click);
    connect(SavePrec2, &CheckBox::Click, this, &Form11::SavePrec2_Click);
    connect(Label14, &Label::Click, this, &Form11::Label14_Click);
}

void Form11::Form_Load() {
    setWindowTitle(versionCaption());
    const QTime now = programa.platform.clock.now().time();
    horactual = militaryTime(now);
    horamilitar = longTime(now);

    // Every read is guarded on its own: a value that is missing or unreadable is skipped.
    GuardedReader store(programa.platform.store);
    const auto ddd = store.text(QStringLiteral("ddd"));
    if (!ddd || ddd->isEmpty()) {
        presetFromClock();
    }
    Quitar();
    if (programa.form7().SavePrec->value() == 1) {
        const std::pair<const char*, QComboBox*> stored[] = {
            {"ddd", dias}, {"hhh", horas}, {"mmm", minutos}, {"ampm", merid}};
        for (const auto& [name, list] : stored) {
            if (const auto v = store.text(QString::fromLatin1(name))) {
                list->setCurrentText(*v);
            }
        }
    } else {
        presetFromClock();
    }
    // A state that differs from the box's runs its mirroring of the Options box.
    store.intoCheck(QStringLiteral("SavePrec"), SavePrec2);
}

void Form11::presetFromClock() {
    const TimePreset preset = timePreset(horamilitar, horactual);
    horas->setCurrentText(preset.hour);
    minutos->setCurrentText(preset.minute);
    if (!preset.halfDay.isEmpty()) {
        merid->setCurrentText(preset.halfDay);
    }
}

void Form11::Quitar() {
    horactual = withoutHalfDay(horactual);
}

void Form11::guarda() {
    const bool written = programa.platform.store.write({
        {userValue(QStringLiteral("ddd")), dias->currentText()},
        {userValue(QStringLiteral("hhh")), horas->currentText()},
        {userValue(QStringLiteral("mmm")), minutos->currentText()},
        {userValue(QStringLiteral("ampm")), merid->currentText()},
    });
    if (!written) {
        reportStoreFailure();
    }
}

void Form11::reportStoreFailure() {
    programa.platform.messages.show(this, kStoreFailure, MessageIcon::Critical, kTitle);
}

void Form11::convertir_Click() {
    // Stored before the entries are checked, so refused entries are remembered too.
    if (programa.form7().SavePrec->value() == 1) {
        guarda();
    }
    const QTime now = programa.platform.clock.now().time();
    horactual = militaryTime(now);
    Quitar();

    const TargetTime t = targetTime(dias->currentText(), horas->currentText(),
                                    minutos->currentText(), merid->currentText(), now);
    hhact = t.hhact;
    mmact = t.mmact;
    if (t.outcome == TargetTime::Outcome::HourRefused) {
        programa.platform.messages.show(this, kHourRefused, MessageIcon::Information, kTitle);
        return;
    }
    if (t.outcome == TargetTime::Outcome::MinuteRefused) {
        programa.platform.messages.show(this, kMinuteRefused, MessageIcon::Information, kTitle);
        return;
    }
    horasel = t.horasel;
    minutosel = t.minutosel;
    diasel = t.diasel;
    hhnva = t.hhnva;
    mmnva = t.mmnva;

    // Setting the texts runs the main window's change handling of its time fields.
    Form1& main = programa.form1();
    main.hh->setText(numberText(hhnva));
    main.mm->setText(numberText(mmnva));
    main.ss->setText(QStringLiteral("0"));
    programa.unload<Form11>();
}

void Form11::SavePrec2_Click() {
    const bool on = SavePrec2->value() == 1;
    SettingsStore& store = programa.platform.store;
    // A failure loses nothing when the store already gives the box its state (the load).
    const bool kept =
        store.write(userValue(QStringLiteral("SavePrec")),
                    on ? QStringLiteral("1") : QStringLiteral("0")) ||
        GuardedReader(store).givesState(QStringLiteral("SavePrec"), SavePrec2->value());
    // The Options box mirrors this one; when it changes, its own handling writes the same value
    // and reports a failure itself. Setting it to the state it has ends the exchange.
    CheckBox* options = programa.form7().SavePrec;
    const int before = options->value();
    options->setValue(on ? 1 : 0);
    if (!kept && options->value() == before) {
        reportStoreFailure();
    }
}

void Form11::Label14_Click() {
    Form5& about = programa.form5();
    bringUp(about);
}
