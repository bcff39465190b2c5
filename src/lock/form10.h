#pragma once

// The screen lock shown when a protected alert ends: it covers the screen until the alert's
// password is typed.

#include "platform/controls.h"
#include "platform/form.h"

#include <QPushButton>
#include <QTimer>

class Form10 : public Form {
    Q_OBJECT
public:
    explicit Form10(Programa& programa);

    void Form_Load() override;
    void Form_Unload() override;

    void aceptar_Click();
    void Label2_Click();

    Label* Picture2;
    QLabel* Mensaje;
    Label* Label1;
    TextBox* Pass;
    QPushButton* aceptar;
    Label* Label2;
    Label* Label3;

protected:
    void Form_Activate() override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refuse(const QString& text);
    void takeKeyboard();
    void watchOver();

    // A message about the password is above the lock, with the keyboard.
    bool refusing_ = false;
    // Checks in a row that found the lock away from the screen or the keyboard.
    int strikes_ = 0;
    QTimer watch_;
};
