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

// Notifications of the desktop's notification server. One at a time: showing one takes back
// the one before. Without a server nothing is shown and nothing fails. Calls return at once.
class NotificationService : public QObject {
    Q_OBJECT
public:
    struct Action {
        QString key;
        QString label;
    };
    // An urgent notification from the program; the actions are offered where the server
    // offers actions at all.
    virtual void show(const QString& summary, const QString& body,
                      const QList<Action>& actions) = 0;
    // Takes back the notification shown or on its way, if any.
    virtual void withdraw() = 0;
Q_SIGNALS:
    // The user chose this action of the notification shown.
    void actionInvoked(const QString& key);
};

// Ends the program at once.
class AppService {
public:
    virtual ~AppService() = default;
    virtual void quit() = 0;
};

// What the screen lock needs of the desktop so that nobody walks past it.
class ScreenLockService {
public:
    virtual ~ScreenLockService() = default;
    // Can the program hold the whole desktop's keyboard? Not in a Wayland session, where the
    // compositor keeps it.
    virtual bool canHoldInput() = 0;
    // Holds the keyboard and the pointer for the program: its own windows still get keys and
    // clicks, no other program nor the desktop's shortcuts get any. False while another
    // program holds one of them: ask again later. Asking while held changes nothing.
    virtual bool holdInput() = 0;
    virtual void releaseInput() = 0;
    // Marks a window about to be shown as one on every workspace.
    virtual void prepare(QWidget* window) = 0;
    // Puts back what the window manager or another program changed: each of the surfaces is
    // shown, full screen, on every workspace, never below the others, and above them while it
    // carries the stays-on-top flag; no window but the surfaces and the windows over them lies
    // above them. The windows over them stay shown and on every workspace too.
    virtual void keep(const QList<QWidget*>& surfaces, const QList<QWidget*>& over) = 0;
    // Gives the window the keyboard, as the user would by picking it.
    virtual void activate(QWidget* window) = 0;
    // Asks the system to lock the user's session with its own lock screen. Returns at once; a
    // refusal changes nothing for the program and is said on standard error.
    virtual void lockSession() = 0;
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
    NotificationService& notifier;
    ScreenLockService& screenLock;
};
