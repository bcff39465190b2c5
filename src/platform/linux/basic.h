#pragma once

// The small Linux services: tick counter, clock, message boxes, opening files and addresses,
// program folders, file copies and ending the program.

#include "platform/services.h"

class LinuxTicks : public TickCounter {
public:
    qint64 milliseconds() override;
};

class LinuxClock : public SystemClock {
public:
    QDateTime now() override;
};

class LinuxMessages : public MessageService {
public:
    void show(QWidget* parent, const QString& text, MessageIcon icon,
              const QString& title) override;
};

class LinuxOpener : public OpenService {
public:
    bool open(const QUrl& target) override;
};

class LinuxPaths : public PathService {
public:
    QString programFolder() override;
    QString executableFolder() override;
    QString moduleFolder() override;
};

class LinuxFiles : public FileService {
public:
    QString copyReplacing(const QString& source, const QString& destination) override;
};

class LinuxApp : public AppService {
public:
    void quit() override;
};
