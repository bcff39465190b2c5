#pragma once

// Controls with the behaviour the windows rely on: change handling that runs on every real
// change (also from code) and never on a non-change, a length limit on typing only, option
// buttons that can all be unselected, three-state check boxes, and labels that announce a
// change of their text.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QRadioButton>

#include <functional>

// Background of a text box: system colour 5 (window background) when enabled, system colour 0
// (grey) when disabled.
enum class BackColour { Window = 5, Grey = 0 };

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent);
    // Limits what the user types; text set by the program may be longer. 0: no limit.
    void setTypingLimit(int characters);
    int typingLimit() const { return typingLimit_; }
    // Refuses typed characters for which the test returns false.
    void setCharacterFilter(std::function<bool(QChar)> accepts);
    void setBackColour(BackColour colour);
    BackColour backColour() const { return backColour_; }
    void setPasswordChar(bool on);
    void setCentred();

Q_SIGNALS:
    void Change();

private:
    int typingLimit_ = 0;
    // Length of the text before the edit being checked: typing may shorten a text the
    // program made longer than the limit, never lengthen it.
    qsizetype committedLength_ = 0;
    std::function<bool(QChar)> accepts_;
    BackColour backColour_ = BackColour::Window;
    friend class TextBoxValidator;
};

// States 0 unchecked, 1 checked, 2 greyed. A user's click goes from 0 to 1 and from 1 or 2 to 0;
// the program can set any of the three.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(const QString& caption, QWidget* parent);
    int value() const;
    // States other than 0, 1 and 2 are refused and leave the box as it was.
    bool setValue(int state);

Q_SIGNALS:
    void Click();

protected:
    void nextCheckState() override;
};

// Exclusive among the option buttons of its frame, as Qt's radio buttons are (which is also
// what makes a screen reader announce them as radio buttons), but the program can deselect
// every button of the frame.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(const QString& caption, QWidget* parent);
    bool value() const { return isChecked(); }
    void setValue(bool selected);

Q_SIGNALS:
    void Click();
};

// A label whose text can be watched.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(const QString& caption, QWidget* parent);
    void setCaption(const QString& caption);
    QString caption() const { return text(); }
    // Shrinks the font below its designed size when a caption would not fit the width.
    void setShrinkToFit(bool on);
    // A wrapped caption whose lines need more height than its box (fonts with more line spacing
    // than the designed one): the box grows about its middle.
    void growToWrappedText();

Q_SIGNALS:
    void Change();
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fitFont();
    bool shrinkToFit_ = false;
    bool fitPending_ = false;
    qreal designedPointSize_ = 0;
};
