#include "platform/fitcheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTimer>

#include <optional>
#include <utility>

namespace {

// The width a caption needs and the width it has, when it has less; nothing otherwise.
std::optional<std::pair<int, int>> cut(QWidget* w) {
    auto narrower = [](int have, int need) -> std::optional<std::pair<int, int>> {
        if (have < need) {
            return std::pair{have, need};
        }
        return std::nullopt;
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty()) {
            return std::nullopt;
        }
        if (label->wordWrap()) {
            return narrower(label->height(), label->heightForWidth(label->width()));
        }
        return narrower(label->width(), label->sizeHint().width());
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        // The text's room inside the button's bevel, as the style draws it.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return narrower(room.width(), button->fontMetrics().horizontalAdvance(button->text()));
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) ||
        qobject_cast<QTabBar*>(w)) {
        return narrower(w->width(), w->sizeHint().width());
    }
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        return narrower(frame->width(), frame->minimumSizeHint().width());
    }
    return std::nullopt;
}

QString caption(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        return frame->title();
    }
    return QString();
}

void check(QWidget* window) {
    int controls = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) {
            continue;
        }
        ++controls;
        if (const auto c = cut(w)) {
            qInfo().noquote() << "tempix-fit: narrow" << window->metaObject()->className()
                              << w->metaObject()->className() << w->objectName()
                              << '"' + caption(w) + '"' << c->first << "<" << c->second;
        }
        if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            for (QAction* menu : bar->actions()) {
                if (!bar->rect().contains(bar->actionGeometry(menu))) {
                    qInfo().noquote() << "tempix-fit: narrow" << window->metaObject()->className()
                                      << "menu" << '"' + menu->text() + '"' << "hidden";
                }
            }
        }
    }
    qInfo().noquote() << "tempix-fit: checked" << window->metaObject()->className() << controls
                      << "controls";
}

class FitCheck : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !widget) {
            return false;
        }
        // A window, or another page of a tab container.
        QWidget* window = widget->window();
        if ((widget == window || qobject_cast<QStackedWidget*>(widget->parentWidget())) &&
            !window->inherits("QMenu") && !window->inherits("QTipLabel")) {
            // Once the window manager has placed it and the page is laid out.
            QTimer::singleShot(500, window, [window] { check(window); });
        }
        return false;
    }
};

}  // namespace

void installFitCheck(QApplication& app) {
    if (qEnvironmentVariableIsSet("TEMPIX_FIT_CHECK")) {
        app.installEventFilter(new FitCheck(&app));
    }
}
