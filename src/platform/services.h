#pragma once

// The program's view of the outside world. Every service is a small interface; the Linux
// implementations live beside this file, the fakes the tests use in tests/support/.

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QUrl>

#include <optional>
#include <utility>

class QMenu;
class QWidget;

// Milliseconds since boot, counting through suspend; never wraps.
class TickCounter {
public:
    virtual ~TickCounter() = default;
    virtual qint64 milliseconds() = 0;
};

// Local date and time now.
class SystemClock {
public:
    virtual ~SystemClock() = default;
    virtual QDateTime now() = 0;
};

enum class MessageIcon { Critical = 16, Information = 64 };

// A modal box with one OK button.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void show(QWidget* parent, const QString& text, MessageIcon icon,
                      const QString& title) = 0;
};

// Power-off and restart requests. The system may take long to answer (it may ask the user
// first): a request returns at once, and a refusal is reported by failed() whenever it comes.
// A new request replaces one still undecided.
enum class PowerRequest { PowerOff, Reboot };
class PowerService : public QObject {
    Q_OBJECT
public:
    virtual void powerOff() = 0;
    virtual void reboot() = 0;
Q_SIGNALS:
    // The request was refused or could not be made; reason is a sentence for the user.
    void failed(PowerRequest request, const QString& reason);
};

// The per-user settings and the logon start-up entry, addressed by full value name
// ("HKEY_CURRENT_USER\Software\Nodavia\Tempix\hh"). Values are texts.
class SettingsStore {
public:
    using Values = QList<std::pair<QString, QString>>;
    virtual ~SettingsStore() = default;
    // Nothing when the value does not exist or is not a text.
    virtual std::optional<QString> read(const QString& name) = 0;
    // Writes the values in order as one group: all of them or, on failure, none.
    virtual bool write(const Values& values) = 0;
    bool write(const QString& name, const QString& data) { return write(Values{{name, data}}); }
    // Fails when the value does not exist or cannot be removed.
    virtual bool remove(const QString& name) = 0;
};

// The notification-area icon. Pictures: kTrayIdle, or an animation frame 0 to 3.
inline constexpr int kTrayIdle = -1;
class TrayService : public QObject {
    Q_OBJECT
public:
    virtual void add(int picture, const QString& tip) = 0;
    virtual void modify(int picture, const QString& tip) = 0;
    virtual void remove() = 0;
    // Is there a notification area to show the icon in?
    virtual bool available() = 0;
    // The menu that a notification area drawing menus itself offers for the icon.
    virtual void setMenu(QMenu* menu) = 0;
Q_SIGNALS:
    // The user asked for the icon's menu, to be opened at this point of the screen: the left
    // or right button was released over the icon, or the notification area asked for it.
    void menuRequested(const QPoint& at);
    // A notification area appeared or went away.
    void availabilityChanged(bool available);
};

// Opens a file or web address with its associated application.
class OpenService {
public:
    virtual ~OpenService() = default;
    virtual bool open(const QUrl& target) = 0;
};

// Plays a WAV file once, without waiting; a missing or unreadable file plays the default sound.
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void play(const QString& file) = 0;
};

// Is an earlier instance of the program running now?
class InstanceService {
public:
    virtual ~InstanceService() = default;
    virtual bool earlierInstanceRunning() = 0;
};

// Where the program's own files are.
class PathService {
public:
    virtual ~PathService() = default;
    // Sound, help, documents and portable-copy sources.
    virtual QString programFolder() = 0;
    // The folder of the running executable, named by the logon entry; empty when its name is
    // not valid UTF-8 and so has no text.
    virtual QString executableFolder() = 0;
    // The folder of the sound player module.
    virtual QString moduleFolder() = 0;
};

// Copies a file, replacing the destination. Returns an empty text on success, otherwise the
// reason for the user.
class FileService {
public:
    virtual ~FileService() = default;
    virtual QString copyReplacing(const QString& source, const QString& destination) = 0;
};

// Ends the program at once.
class AppService {
public:
    virtual ~AppService() = default;
    virtual void quit() = 0;
};

struct Platform {
    TickCounter& ticks;
    SystemClock& clock;
    MessageService& messages;
    PowerService& power;
    SettingsStore& store;
    TrayService& tray;
    OpenService& opener;
    SoundService& sound;
    InstanceService& instances;
    PathService& paths;
    FileService& files;
    AppService& app;
};
