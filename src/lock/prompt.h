#pragma once

// What the two password prompts share: their controls and the check of the typed password
// against the alert's.

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/services.h"

#include <QPushButton>

class PasswordPrompt : public Form {
    Q_OBJECT
public:
    void aceptar_Click();
    void Label2_Click();

    Label* Label1;
    TextBox* Pass;
    QPushButton* aceptar;
    Label* Label2;
    Label* Image1;

protected:
    // height: of the client area in twips; the prompts differ only there and in their texts.
    PasswordPrompt(Programa& programa, int heightTwips);
    void Form_Activate() override;
    void showEvent(QShowEvent* event) override;

    // The texts and title of the two messages.
    virtual QString emptyMessage() const = 0;
    virtual QString messageTitle() const = 0;
    // Runs when the typed password is the alert's.
    virtual void rightPassword() = 0;

private:
    void refuse(const QString& text);
    bool placed_ = false;
};
