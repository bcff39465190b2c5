#pragma once

// The stopwatch: the running alert's remaining time in a small window above the others.

#include "platform/controls.h"
#include "platform/form.h"

class Form2 : public Form {
    Q_OBJECT
public:
    explicit Form2(Programa& programa);

    void Form_Load() override;

    Label* lblTiempo1;

protected:
    void Form_Activate() override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool placed_ = false;
};
