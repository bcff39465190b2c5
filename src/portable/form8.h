#pragma once

// The portable copy: the program's files to a chosen folder, from which the program then runs
// without installation.
#include "platform/controls.h"
#include "platform/form.h"

#include <QComboBox>
#include <QSortFilterProxyModel>

class QFileSystemModel;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTreeView;

// The drive list: the mounted volumes a copy can go to. It reads the volumes again each time
// it opens, so a medium plugged in while the window is open shows up.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent);
    // Reads the volumes again; the chosen one stays chosen, also when it has gone away.
    void refresh();
    QString root() const { return currentData().toString(); }
    // The volume that holds a path: the one with the longest root above it.
    int indexHolding(const QString& path) const;
    void showPopup() override;
};

// Shows one drive of the file-system model: its root as the top item, the folders below it.
class DriveFolders : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit DriveFolders(QObject* parent) : QSortFilterProxyModel(parent) {}
    void setDrive(const QString& root);
    const QString& drive() const { return root_; }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QString root_ = QStringLiteral("/");
};

class Form8 : public Form {
    Q_OBJECT
public:
    explicit Form8(Programa& programa);

    void Form_Load() override;

    // The folder list's path: its current folder, the drive's root when none is chosen.
    QString dirsPath() const;
    // Makes a folder the folder list's current one; false when it cannot be shown.
    bool setDirsPath(const QString& path);

    void drive_Change();
    void dirs_Change();
    void copiar_Click();
    void Label2_Click();

    Label* Image1;
    Label* Label2;
    QPushButton* copiar;
    Label* aviso;
    Label* Label1;
    DriveList* drive;
    QTreeView* dirs;
    TextBox* ruta;
    QProgressBar* Proceso;

private:
    QFileSystemModel* folders_;
    DriveFolders* shown_;
    // The drive chosen before the current one: a drive that cannot be read gives way to it.
    int lastDrive_ = -1;
};
