#pragma once

// Fakes of every platform service: they record what the program asked for and answer at once.

#include "platform/services.h"

#include <QMap>
#include <QStringList>

#include <algorithm>
#include <functional>

struct FakeTicks : TickCounter {
    qint64 now = 10'000'000;  // some uptime, not zero
    qint64 milliseconds() override { return now; }
    void advance(qint64 ms) { now += ms; }
};

struct FakeClock : SystemClock {
    QDateTime current = QDateTime(QDate(2026, 12, 8), QTime(10, 20, 0));
    QDateTime now() override { return current; }
};

struct FakeMessages : MessageService {
    struct Shown {
        QString text;
        MessageIcon icon;
        QString title;
    };
    QList<Shown> shown;
    // Runs while the box would be up, e.g. to look at the window order.
    std::function<void(const Shown&)> whileShown;
    void show(QWidget*, const QString& text, MessageIcon icon, const QString& title) override {
        shown.append({text, icon, title});
        if (whileShown) {
            whileShown(shown.last());
        }
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
};

struct FakePower : PowerService {
    QStringList requests;
    QString failure;  // what the system answers at once; empty: accepted
    void powerOff() override { answer(QStringLiteral("PowerOff"), PowerRequest::PowerOff); }
    void reboot() override { answer(QStringLiteral("Reboot"), PowerRequest::Reboot); }
    void answer(const QString& name, PowerRequest request) {
        requests.append(name);
        if (!failure.isEmpty()) {
            Q_EMIT failed(request, failure);
        }
    }
};

struct FakeStore : SettingsStore {
    QMap<QString, QString> values;
    // Every successful write, in order, as "name=data"; every removal as "-name".
    QStringList log;
    bool failWrites = false;
    bool failRemoves = false;
    std::optional<QString> read(const QString& name) override {
        const auto it = values.constFind(name);
        if (it == values.constEnd()) {
            return std::nullopt;
        }
        return *it;
    }
    bool write(const Values& batch) override {
        if (failWrites) {
            return false;
        }
        for (const auto& [name, data] : batch) {
            values[name] = data;
            log.append(name.section(u'\\', -1) + u'=' + data);
        }
        return true;
    }
    bool remove(const QString& name) override {
        if (failRemoves || !values.contains(name)) {
            return false;
        }
        values.remove(name);
        log.append(u'-' + name.section(u'\\', -1));
        return true;
    }
    // Sets a per-user value by its short name.
    void set(const QString& shortName, const QString& data) {
        values[QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\") + shortName] = data;
    }
    std::optional<QString> get(const QString& shortName) const {
        const auto it = values.constFind(
            QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\") + shortName);
        if (it == values.constEnd()) {
            return std::nullopt;
        }
        return *it;
    }
};

struct FakeTray : TrayService {
    struct Call {
        QString op;  // "add", "modify", "remove"
        int picture;
        QString tip;
    };
    QList<Call> calls;
    bool isAvailable = true;
    bool shown = false;
    int picture = kTrayIdle;
    QString tip;
    void add(int p, const QString& t) override {
        calls.append({QStringLiteral("add"), p, t});
        if (!shown) {
            shown = true;
            picture = p;
            tip = t;
        }
    }
    void modify(int p, const QString& t) override {
        calls.append({QStringLiteral("modify"), p, t});
        if (shown) {
            picture = p;
            tip = t;
        }
    }
    void remove() override {
        calls.append({QStringLiteral("remove"), kTrayIdle, QString()});
        shown = false;
    }
    bool available() override { return isAvailable; }
    QMenu* menu = nullptr;
    void setMenu(QMenu* m) override { menu = m; }
    void release() { Q_EMIT menuRequested(QPoint(40, 30)); }
    void setAvailable(bool on) {
        isAvailable = on;
        Q_EMIT availabilityChanged(on);
    }
};

struct FakeOpener : OpenService {
    QList<QUrl> opened;
    bool open(const QUrl& target) override {
        opened.append(target);
        return true;
    }
};

struct FakeSound : SoundService {
    QStringList played;
    void play(const QString& file) override { played.append(file); }
};

struct FakeInstances : InstanceService {
    bool earlier = false;
    bool earlierInstanceRunning() override { return earlier; }
};

struct FakePaths : PathService {
    QString program = QStringLiteral("/opt/tempix");
    QString executable = QStringLiteral("/opt/tempix");
    QString programFolder() override { return program; }
    QString executableFolder() override { return executable; }
    QString moduleFolder() override { return executable; }  // beside it, as in a portable copy
};

struct FakeFiles : FileService {
    QStringList copies;  // "source -> destination"
    QString failOn;      // a source name whose copy fails
    QString copyReplacing(const QString& source, const QString& destination) override {
        if (!failOn.isEmpty() && source.endsWith(failOn)) {
            return QStringLiteral("No queda espacio en el disco");
        }
        copies.append(source + QStringLiteral(" -> ") + destination);
        return {};
    }
};

struct FakeApp : AppService {
    int quits = 0;
    void quit() override { ++quits; }
};

struct FakeNotifier : NotificationService {
    struct Notice {
        QString summary;
        QString body;
        QStringList actions;  // labels
    };
    QList<Notice> sent;     // every notification shown, in order
    QList<Action> offered;  // the actions of the last one
    bool up = false;        // one is shown now
    void show(const QString& summary, const QString& body, const QList<Action>& actions) override {
        QStringList labels;
        for (const Action& a : actions) {
            labels.append(a.label);
        }
        sent.append({summary, body, labels});
        offered = actions;
        up = true;
    }
    void withdraw() override { up = false; }
    // The user presses the action with that label on the notification shown.
    void press(const QString& label) {
        for (const Action& a : offered) {
            if (up && a.label == label) {
                Q_EMIT actionInvoked(a.key);
            }
        }
    }
};

struct FakeScreenLock : ScreenLockService {
    bool wayland = false;
    int busyFor = 0;  // how many more times another program still holds the keyboard
    bool held = false;
    int sessionLocks = 0;
    QList<QWidget*> prepared, surfaces, over, activated;
    bool canHoldInput() override { return !wayland; }
    bool holdInput() override {
        held = busyFor == 0;
        busyFor = std::max(0, busyFor - 1);
        return held;
    }
    void releaseInput() override { held = false; }
    void prepare(QWidget* window) override { prepared.append(window); }
    void keep(const QList<QWidget*>& s, const QList<QWidget*>& o) override {
        surfaces = s;
        over = o;
    }
    void activate(QWidget* window) override { activated.append(window); }
    void lockSession() override { ++sessionLocks; }
};

struct FakePlatform {
    FakeTicks ticks;
    FakeClock clock;
    FakeMessages messages;
    FakePower power;
    FakeStore store;
    FakeTray tray;
    FakeOpener opener;
    FakeSound sound;
    FakeInstances instances;
    FakePaths paths;
    FakeFiles files;
    FakeApp app;
    FakeNotifier notifier;
    FakeScreenLock screenLock;
    Platform platform{ticks, clock,     messages, power, store, tray,     opener,
                      sound, instances, paths,    files, app,   notifier, screenLock};
};
