#pragma once

// The window shown when the time is up: the message, and three ways on. With a password in
// force each way goes through the action-password prompt.

#include "platform/controls.h"
#include "platform/form.h"

#include <QPushButton>

class Form3 : public Form {
    Q_OBJECT
public:
    explicit Form3(Programa& programa);

    void Form_Load() override;

    void aceptar_Click();
    void nuevo_Click();
    void salir_Click();

    QLabel* Mensaje;
    QPushButton* aceptar;
    QPushButton* nuevo;
    QPushButton* salir;
    Label* Label2;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool passwordInForce() const;
    // Hands the action over to the password prompt.
    void askPassword(const QString* action);

    bool placed_ = false;
};
