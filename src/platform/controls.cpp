#include "platform/controls.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace {

// The desktop's style, except that a password box shows "*" for each character.
class PasswordStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return u'*';
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* passwordStyle() {
    static QStyle* const style = [] {
        auto* s = new PasswordStyle(QApplication::style()->name());
        s->setParent(qApp);
        return s;
    }();
    return style;
}

}  // namespace

// Checks what the user types; QLineEdit does not apply it to text set by the program.
class TextBoxValidator : public QValidator {
public:
    explicit TextBoxValidator(TextBox* box) : QValidator(box), box_(box) {}
    State validate(QString& input, int&) const override {
        if (box_->typingLimit_ > 0 && input.size() > box_->typingLimit_ &&
            input.size() > box_->committedLength_) {
            return Invalid;
        }
        if (box_->accepts_) {
            for (QChar c : input) {
                if (!box_->accepts_(c)) {
                    return Invalid;
                }
            }
        }
        return Acceptable;
    }

private:
    TextBox* box_;
};

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    // QLineEdit would cut any text at 32,767 characters, also a stored one (a long password
    // saved back cut is another password); the typing limit is the validator's.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new TextBoxValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        committedLength_ = text.size();
        Q_EMIT Change();
    });
}

void TextBox::setTypingLimit(int characters) {
    typingLimit_ = characters;
}

void TextBox::setCharacterFilter(std::function<bool(QChar)> accepts) {
    accepts_ = std::move(accepts);
}

void TextBox::setBackColour(BackColour colour) {
    backColour_ = colour;
    // The colours come from the standard palette: this box's own holds the last colour set.
    const QPalette standard = QApplication::palette(this);
    const QColor c = colour == BackColour::Grey ? standard.color(QPalette::Active, QPalette::Button)
                                                : standard.color(QPalette::Active, QPalette::Base);
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, c);
    }
    setPalette(p);
}

void TextBox::setPasswordChar(bool on) {
    setEchoMode(on ? Password : Normal);
    if (on) {
        setStyle(passwordStyle());
    }
}

void TextBox::setCentred() {
    setAlignment(Qt::AlignCenter);
}

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    setTristate(true);
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::Click);
}

int CheckBox::value() const {
    switch (checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
    }
    return 0;
}

bool CheckBox::setValue(int state) {
    switch (state) {
        case 0:
            setCheckState(Qt::Unchecked);
            return true;
        case 1:
            setCheckState(Qt::Checked);
            return true;
        case 2:
            setCheckState(Qt::PartiallyChecked);
            return true;
        default:
            return false;
    }
}

void CheckBox::nextCheckState() {
    setValue(value() == 0 ? 1 : 0);
}

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Q_EMIT Click();
        }
    });
}

void OptionButton::setValue(bool selected) {
    // Qt keeps the last selected radio button of a frame selected; lifting the exclusivity
    // for a moment lets the program deselect it.
    if (!selected && isChecked()) {
        setAutoExclusive(false);
        setChecked(false);
        setAutoExclusive(true);
        return;
    }
    setChecked(selected);
}

Label::Label(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void Label::setCaption(const QString& caption) {
    if (caption != text()) {
        setText(caption);
        fitFont();
        Q_EMIT Change();
    }
}

void Label::setShrinkToFit(bool on) {
    shrinkToFit_ = on;
    designedPointSize_ = font().pointSizeF();
    fitFont();
}

void Label::growToWrappedText() {
    const int needed = heightForWidth(width());
    if (needed > height()) {
        setGeometry(x(), y() - (needed - height()) / 2, width(), needed);
    }
}

void Label::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitFont();
}

void Label::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    if (fitPending_) {
        fitFont();
    }
}

void Label::fitFont() {
    if (!shrinkToFit_ || designedPointSize_ <= 0) {
        return;
    }
    // Out of sight the label is fitted when it shows: a countdown hidden in the tray measures
    // no text at every second.
    fitPending_ = !isVisible();
    if (fitPending_) {
        return;
    }
    QFont f = font();
    f.setPointSizeF(designedPointSize_);
    const int available = contentsRect().width();
    const int needed = QFontMetrics(f).horizontalAdvance(text());
    if (needed > available && needed > 0) {
        f.setPointSizeF(std::max(6.0, designedPointSize_ * available / needed));
    }
    if (f != font()) {
        setFont(f);
    }
    // Fonts come in whole pixel sizes and glyphs may reach past their advance: smaller still
    // until the caption as drawn fits.
    while (sizeHint().width() > width() && f.pointSizeF() > 6) {
        f.setPointSizeF(std::max(6.0, f.pointSizeF() - 0.25));
        setFont(f);
    }
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT Click();
    }
}
