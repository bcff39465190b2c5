#include "lock/prompt.h"

#include "about/form5.h"
#include "about/pictures.h"
#include "app/form1.h"
#include "common/twips.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"

PasswordPrompt::PasswordPrompt(Programa& p, int heightTwips) : Form(p) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(versionCaption());
    setFixedSize(twipsSize(4110, heightTwips));

    // The logo at the left; the text, the box and, on the last row, the maker label and the
    // button beside it. The rows keep clear of each other in both heights of the prompts.
    Image1 = new Label(QString(), this);
    Image1->setGeometry(twipsRect(105, 105, 915, 915));
    Image1->setPixmap(
        logoPicture().scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Label1 = new Label(QStringLiteral("Ingrese su Contraseña"), this);
    Label1->setGeometry(twipsRect(1140, 75, 2865, 240));
    Pass = new TextBox(this);
    Pass->setPasswordChar(true);
    Pass->setAccessibleName(QStringLiteral("Contraseña"));
    Pass->setGeometry(twipsRect(1140, 330, 2865, 315));
    aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    aceptar->setGeometry(twipsRect(2805, heightTwips - 420, 1200, 345));
    aceptar->setDefault(true);
    setDefaultButton(aceptar);
    Label2 = new Label(QStringLiteral("Nodavia 2019"), this);
    Label2->setGeometry(twipsRect(1140, heightTwips - 405, 1560, 315));
    Label2->setCursor(Qt::PointingHandCursor);

    const std::pair<QObject*, const char*> names[] = {{Image1, "Image1"},
                                                      {Label1, "Label1"},
                                                      {Pass, "Pass"},
                                                      {aceptar, "aceptar"},
                                                      {Label2, "Label2"}};
    for (const auto& [object, name] : names) {
        object->setObjectName(QString::fromLatin1(name));
    }
    // The box comes first, so it has the focus when the window opens.
    setTabOrder(Pass, aceptar);
    Pass->setFocus();

    connect(aceptar, &QPushButton::clicked, this, &PasswordPrompt::aceptar_Click);
    connect(Label2, &Label::Click, this, &PasswordPrompt::Label2_Click);
}

void PasswordPrompt::Form_Activate() {
    Pass->setFocus();
}

void PasswordPrompt::refuse(const QString& text) {
    programa.platform.messages.show(this, text, MessageIcon::Critical, messageTitle());
    Pass->setFocus();
}

void PasswordPrompt::aceptar_Click() {
    if (Pass->text().isEmpty()) {
        refuse(emptyMessage());
        return;
    }
    if (Pass->text() != programa.form1().Pass->text()) {
        refuse(QStringLiteral("La contraseña es Incorrecta."));
        return;
    }
    rightPassword();
}

void PasswordPrompt::Label2_Click() {
    Form5& about = programa.form5();
    about.show();
    about.raise();
}

void PasswordPrompt::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (!placed_) {
        placed_ = true;
        centreOnScreen(this);
    }
}
