#pragma once

// The About window: the version and the two web pages.
#include "platform/controls.h"
#include "platform/form.h"

#include <QPixmap>
#include <QUrl>

class QPushButton;

class Form5 : public Form {
    Q_OBJECT
public:
    explicit Form5(Programa& programa);

    void Form_Load() override;

    void cerrar_Click();
    void webcp_Click();
    void CommandWeb_Click();

    QPushButton* cerrar;
    QPushButton* webcp;
    QPushButton* CommandWeb;
    QLabel* Version;

    static inline const QUrl kMakerPage = QUrl(QStringLiteral("https://nodavia.example/"));
    static inline const QUrl kProductPage = QUrl(QStringLiteral("https://nodavia.example/tempix"));

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPixmap background_;
    bool placed_ = false;
};
