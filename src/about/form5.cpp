#include "about/form5.h"

#include "about/pictures.h"
#include "common/version.h"
#include "platform/screen.h"
#include "programa.h"

#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include <algorithm>

namespace {

// Light buttons that stay readable on the dark background picture.
const QString kButtonStyle = QStringLiteral(
    "QPushButton { color: white; background: rgba(255, 255, 255, 34);"
    " border: 1px solid rgba(255, 255, 255, 110); border-radius: 4px; padding: 3px 8px; }"
    "QPushButton:hover { background: rgba(255, 255, 255, 70); }"
    "QPushButton:pressed { background: rgba(0, 0, 0, 50); }"
    "QPushButton:focus { border-color: rgba(255, 255, 255, 220); }");

const QString kWebTip = QStringLiteral("Visite la web de Omdal y conozca sus otros programas.");

}  // namespace

Form5::Form5(Programa& p) : Form(p), background_(aboutBackground()) {
    // Borderless: the picture is the whole window, so it has its own close button.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(background_.isNull() ? QSize(400, 260) : background_.size());
    setWindowIcon(idleIcon());

    cerrar = new QPushButton(QStringLiteral("X"), this);
    cerrar->setGeometry(width() - 30, 6, 24, 22);
    cerrar->setAccessibleName(QStringLiteral("Cerrar"));
    webcp = new QPushButton(QStringLiteral("Web de Omdal"), this);
    webcp->setGeometry(150, 213, 115, 30);
    CommandWeb = new QPushButton(QStringLiteral("Web del Programa"), this);
    CommandWeb->setGeometry(273, 213, 115, 30);
    for (QPushButton* button : {cerrar, webcp, CommandWeb}) {
        button->setStyleSheet(kButtonStyle);
        button->setCursor(Qt::PointingHandCursor);
    }
    cerrar->setStyleSheet(kButtonStyle + QStringLiteral("QPushButton { padding: 0px; }"));
    // The web buttons end at the right margin, each as wide as its caption needs.
    int right = width() - 12;
    for (QPushButton* button : {CommandWeb, webcp}) {
        const int w = std::max(button->sizeHint().width(), 110);
        button->setGeometry(right - w, 213, w, 30);
        right -= w + 8;
    }
    webcp->setToolTip(kWebTip);
    CommandWeb->setToolTip(kWebTip);

    Version = new QLabel(QStringLiteral("Version: 0.0.0.0"), this);
    Version->setGeometry(161, 146, 220, 22);
    // Light on the picture whatever palette a change of desktop theme hands the label.
    Version->setStyleSheet(QStringLiteral("color: #CFE0F1"));
    QFont font = Version->font();
    font.setPointSizeF(10);
    Version->setFont(font);

    cerrar->setObjectName(QStringLiteral("cerrar"));
    webcp->setObjectName(QStringLiteral("webcp"));
    CommandWeb->setObjectName(QStringLiteral("CommandWeb"));
    Version->setObjectName(QStringLiteral("Version"));

    connect(cerrar, &QPushButton::clicked, this, &Form5::cerrar_Click);
    connect(webcp, &QPushButton::clicked, this, &Form5::webcp_Click);
    connect(CommandWeb, &QPushButton::clicked, this, &Form5::CommandWeb_Click);
}

void Form5::Form_Load() {
    // Only the taskbar shows it: the window has no title bar.
    setWindowTitle(QStringLiteral("Nodavia Parlox v") + versionText());
    Version->setText(QStringLiteral("Versión: ") + versionText());
}

void Form5::cerrar_Click() {
    programa.unload<Form5>();
}

void Form5::webcp_Click() {
    programa.platform.opener.open(kMakerPage);
}

void Form5::CommandWeb_Click() {
    programa.platform.opener.open(kProductPage);
}

void Form5::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), background_);
}

void Form5::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (!placed_) {
        placed_ = true;
        centreOnScreen(this);
    }
}
