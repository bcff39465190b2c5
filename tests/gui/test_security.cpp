// The password and the commands: the store file stays the user's alone, nothing is started
// through a shell, no user text reaches a power request, the screen lock survives attempts to
// close it and a second instance, the password shows nowhere but encoded in the store, and a
// stored password that does not decode starts the program without one.

#include "app/form1.h"
#include "fakeplatform.h"
#include "lock/codec.h"
#include "lock/form10.h"
#include "platform/linux/instances.h"
#include "platform/linux/power.h"
#include "platform/linux/store.h"
#include "programa.h"
#include "settings/form7.h"
#include "settings/store.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <type_traits>

// The power requests take no argument at all: no text of the user can reach them.
static_assert(std::is_same_v<decltype(&PowerService::powerOff), void (PowerService::*)()>);
static_assert(std::is_same_v<decltype(&PowerService::reboot), void (PowerService::*)()>);

namespace {

// The fakes with some real services in their place.
struct Program {
    FakePlatform fakes;
    LinuxStore store;
    std::unique_ptr<LinuxInstances> instances;
    std::unique_ptr<LinuxPower> power;
    Platform platform;
    Programa programa;
    explicit Program(bool realInstances = false, bool realPower = false,
                     std::chrono::seconds powerBound = std::chrono::seconds(90))
        : instances(realInstances ? std::make_unique<LinuxInstances>() : nullptr),
          power(realPower ? std::make_unique<LinuxPower>(powerBound) : nullptr),
          platform{fakes.ticks,
                   fakes.clock,
                   fakes.messages,
                   power ? static_cast<PowerService&>(*power) : fakes.power,
                   store,
                   fakes.tray,
                   fakes.opener,
                   fakes.sound,
                   instances ? static_cast<InstanceService&>(*instances) : fakes.instances,
                   fakes.paths,
                   fakes.files,
                   fakes.app,
                   fakes.notifier,
                   fakes.screenLock},
          programa(platform) {}
    // The alert's first tick, one second after its start.
    void tick() {
        fakes.ticks.advance(1000);
        programa.form1().tmrCronómetro1_Timer();
    }
};

mode_t modeOf(const QString& file) {
    struct stat st {};
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

void clearStore() {
    QDir(QFileInfo(LinuxStore::settingsFile()).absolutePath()).removeRecursively();
}

}  // namespace

class SecurityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        clearStore();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // 0600 from the first save on, after every save and option change, whatever the umask, and
    // a file others could read is closed to them at the next save.
    void storeFileStaysPrivate() {
        const mode_t oldMask = ::umask(0);
        const auto restoreMask = qScopeGuard([&] { ::umask(oldMask); });
        const QString file = LinuxStore::settingsFile();
        Program t;
        Form1& f = t.programa.form1();
        for (int i = 0; i < 10; ++i) {
            f.hh->setText(QString::number(i));
            f.Pass->setText(QStringLiteral("clave%1").arg(i));
            f.guardar->click();
            QCOMPARE(modeOf(file), mode_t(0600));
            t.programa.form7().sonido->setValue(i % 2);
            QCOMPARE(modeOf(file), mode_t(0600));
        }
        QVERIFY(t.fakes.messages.shown.isEmpty());
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ReadOther));
        f.hh->setText(QStringLiteral("7"));
        f.guardar->click();
        QCOMPARE(modeOf(file), mode_t(0600));
    }

    // No process is ever started through a shell, and only the platform layer starts any.
    void noShellAnywhere() {
        const QList<QRegularExpression> forbidden = {
            QRegularExpression(QStringLiteral(R"((^|[^\w.])(std::)?system\s*\()")),
            QRegularExpression(QStringLiteral(R"(\bpopen\s*\()")),
            QRegularExpression(QStringLiteral(R"(\bexec[lv]p?e?\s*\()")),
            QRegularExpression(QStringLiteral(R"(startCommand|startDetached\s*\(\s*Q?String)")),
            QRegularExpression(QStringLiteral(R"(QProcess::execute)")),
            QRegularExpression(QStringLiteral(R"(\b(ba|da|z)?sh"?\s*,?\s*\{?\s*"?-c\b)")),
            QRegularExpression(QStringLiteral(R"(/bin/(ba|da|z)?sh\b)")),
        };
        int files = 0;
        QStringList processFiles;
        for (QDirIterator it(QStringLiteral(TEMPIX_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString name = it.next();
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            ++files;
            for (const QRegularExpression& pattern : forbidden) {
                const auto match = pattern.match(text);
                QVERIFY2(!match.hasMatch(),
                         qPrintable(name + QStringLiteral(": ") + match.captured(0)));
            }
            if (text.contains(u"QProcess")) {
                processFiles.append(QDir(QStringLiteral(TEMPIX_SOURCE_DIR)).relativeFilePath(name));
            }
        }
        QVERIFY(files > 20);
        processFiles.sort();
        QCOMPARE(processFiles, (QStringList{QStringLiteral("platform/linux/power.cpp"),
                                            QStringLiteral("platform/linux/power.h")}));
    }

    // A password and a text full of shell syntax, and the real power-off request with no system
    // bus: the fallback command gets exactly one fixed argument, and nothing the user typed runs.
    void userTextChangesNoCommand() {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        const QString log = dir.filePath(QStringLiteral("systemctl.log"));
        {
            QFile fake(bin + QStringLiteral("/systemctl"));
            QVERIFY(fake.open(QIODevice::WriteOnly));
            fake.write("#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\" >> '" +
                       QFile::encodeName(log) + "'; done\necho >> '" + QFile::encodeName(log) +
                       "'\n");
            fake.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        const QByteArray oldPath = qgetenv("PATH");
        const auto restorePath = qScopeGuard([&] { qputenv("PATH", oldPath); });
        qputenv("PATH", QFile::encodeName(bin));
        // Both checks before anything may ask for a power-off: the bus is not the system's,
        // and the command found is the fake.
        QVERIFY(qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS").contains(u"/nonexistent/"));
        QVERIFY(!QDBusConnection::systemBus().isConnected());
        QCOMPARE(QStandardPaths::findExecutable(QStringLiteral("systemctl")),
                 bin + QStringLiteral("/systemctl"));

        const QString marker = dir.filePath(QStringLiteral("pwned"));
        const QString nasty =
            QStringLiteral("$(touch %1); touch %1 ` touch %1` \"' \n;| %1").arg(marker);
        Program t(false, true);
        Form1& f = t.programa.form1();
        f.hh->setText(QStringLiteral("0"));
        f.contra->setValue(1);
        f.Pass->setText(nasty);
        f.habapaga->setValue(1);
        f.apaga->setValue(true);
        f.texto->setText(nasty);
        f.cmdIniciar1->click();
        t.tick();
        QVERIFY(!f.tmrCronómetro1->isActive());

        // The command runs without the window waiting for it.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(log).size() > 0, 20000);
        QTRY_VERIFY(t.programa.platform.power.findChildren<QProcess*>().isEmpty());
        QFile calls(log);
        QVERIFY(calls.open(QIODevice::ReadOnly));
        QCOMPARE(calls.readAll(), QByteArray("[poweroff]\n"));
        QVERIFY(!QFile::exists(marker));
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    // The screen lock stays through close requests, Alt+F4 and a second instance of the program
    // started while it is up, which ends because a protected alert is stored.
    void lockSurvivesClosingAndASecondInstance() {
        Program first(true);
        Form1& f = first.programa.form1();
        first.programa.form7().StopSys->setValue(1);
        f.hh->setText(QStringLiteral("0"));
        f.Pass->setText(QStringLiteral("secreto"));
        f.cmdIniciar1->click();  // saves the alert, the password encoded
        first.tick();
        QVERIFY(first.programa.loaded<Form10>());
        Form10& lock = first.programa.form10();
        QVERIFY(lock.isVisible());

        QVERIFY(!lock.close());
        QTest::keyClick(&lock, Qt::Key_F4, Qt::AltModifier);
        QTest::keyClick(&lock, Qt::Key_Escape);
        QCloseEvent request;
        QCoreApplication::sendEvent(&lock, &request);
        QVERIFY(!request.isAccepted());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.programa.loaded<Form10>());
        QVERIFY(first.programa.form10().isVisible());

        QThread::msleep(5);  // the second instance starts later
        Program second(true);
        second.programa.start();
        QVERIFY(second.programa.ended());
        QCOMPARE(second.fakes.messages.shown.size(), 1);
        QCOMPARE(second.fakes.messages.lastText(),
                 "No se puede abrir Nodavia Tempix mas de una vez si hay un aviso configurado "
                 "bajo contraseña.");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.programa.loaded<Form10>());
        QVERIFY(first.programa.form10().isVisible());
        QVERIFY(!first.programa.ended());
        QCOMPARE(first.fakes.app.quits, 0);

        // Without a notification area the main window waits in the taskbar, whose close
        // command must not end the program, and the lock with it: it asks for the password.
        first.fakes.tray.setAvailable(false);
        QVERIFY(!f.close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first.programa.ended());
        QVERIFY(first.programa.loaded<Form10>());
        QVERIFY(first.programa.form10().isVisible());
    }

    // Locks left in the instances' folder: only a living instance's stops a protected start and
    // stays; one nobody holds (empty, as a kill right after making it leaves it) goes.
    void leftInstanceLocks_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("living");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("naming a process that holds it not")
            << QByteArray::number(getpid()) << false;
        QTest::newRow("a living instance's") << QByteArray() << true;
    }
    void leftInstanceLocks() {
        QFETCH(QByteArray, text);
        QFETCH(bool, living);
        QDir folder(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/nodavia-tempix");
        QVERIFY(folder.removeRecursively() && folder.mkpath("."));
        const auto held = living ? std::make_unique<LinuxInstances>() : nullptr;
        for (const char* name : {"000000000000001-0000000001.lock", "999999999999999-1.lock"}) {
            QFile left(folder.filePath(name));  // sorting before the next start, and after it
            QVERIFY(living || (left.open(QIODevice::WriteOnly) && left.write(text) >= 0));
        }
        QVERIFY(LinuxStore().write(userValue("BlockPass"), CodificaPass("clave")));
        Program t(true);
        t.programa.start();
        QCOMPARE(t.programa.ended(), living);
        QCOMPARE(folder.entryList(QDir::Files).size(), living ? 2 : 1);  // and its own
    }

    // The fallback power request (no system bus here) when systemctl never answers: after the
    // bound (2 s here) it is reported and ended; a later request is always made, also while
    // one is undecided.
    void powerFallbackThatNeverAnswers_data() {
        QTest::addColumn<bool>("againAtOnce");
        QTest::newRow("asked once") << false;
        QTest::newRow("asked again meanwhile") << true;
    }
    void powerFallbackThatNeverAnswers() {
        QFETCH(bool, againAtOnce);
        QTemporaryDir bin;
        const QString log = bin.filePath("log");
        QFile fake(bin.filePath("systemctl"));
        QVERIFY(fake.open(QIODevice::WriteOnly) &&
                fake.write("#!/bin/sh\nprintf '%010d\\n' $$ >>'" + QFile::encodeName(log) +
                           "'\nexec /bin/sleep 600\n"));
        fake.close();  // a file open for writing cannot be run
        QVERIFY(fake.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
        qputenv("PATH", QFile::encodeName(bin.path()));
        // Before any request: no system bus, and the only systemctl is the fake.
        QVERIFY(!QDBusConnection::systemBus().isConnected());
        QCOMPARE(QStandardPaths::findExecutable("systemctl"), fake.fileName());
        Program t(false, true, std::chrono::seconds(2));
        Form1& f = t.programa.form1();
        const auto powerOff = [&](int requests) {
            f.hh->setText("0");
            f.habapaga->setValue(1);
            f.apaga->setValue(true);
            f.cmdIniciar1->click();
            t.tick();
            QTRY_COMPARE_WITH_TIMEOUT(QFile(log).size(), 11 * requests, 20000);
        };
        for (int i = 1; i <= 1 + againAtOnce; ++i) {
            powerOff(i);
        }
        QTRY_COMPARE_WITH_TIMEOUT(t.fakes.messages.shown.size(), 1, 20000);
        QCOMPARE(t.fakes.messages.lastText(),
                 "No se pudo apagar el equipo.\n\nEl sistema no aceptó la orden (no hay conexión "
                 "con el bus del sistema) y systemctl poweroff no respondió en 2 segundos: se ha "
                 "detenido.");
        QFile pids(log);
        QVERIFY(pids.open(QIODevice::ReadOnly));
        for (const QByteArray& pid : pids.readAll().split('\n')) {
            QTRY_VERIFY(pid.isEmpty() || ::kill(pid.toInt(), 0) != 0);  // ended
        }
        powerOff(2 + againAtOnce);
    }

    // The wall clock set back an hour after a protected instance started: a second instance
    // started now (in a process that sees the earlier wall time) still finds the first one.
    void theWallClockSetBackDoesNotHideTheEarlierInstance() {
        const QString fakeTime =
            QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
        if (!QFileInfo::exists(fakeTime)) {
            QSKIP("libfaketime is not installed");
        }
        LinuxInstances first;
        QThread::msleep(5);
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TEMPIX_INSTANCE_CHILD"), QStringLiteral("1"));
        env.insert(QStringLiteral("LD_PRELOAD"), fakeTime);
        env.insert(QStringLiteral("FAKETIME"), QStringLiteral("-3600"));
        env.insert(QStringLiteral("DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
        // The sanitizer build would refuse a library loaded ahead of its runtime.
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":verify_asan_link_order=0"));
        second.setProcessEnvironment(env);
        second.start(QCoreApplication::applicationFilePath());
        QVERIFY(second.waitForFinished(30000));
        const QByteArray answer = second.readAllStandardOutput();
        QVERIFY2(answer.startsWith("earlier "), answer.constData());
        // The child's wall clock was an hour behind ours.
        const qint64 childSeconds = answer.mid(8).trimmed().toLongLong();
        QVERIFY(QDateTime::currentSecsSinceEpoch() - childSeconds > 3000);
    }

    // A stored password that does not decode: the program starts without a password, so a
    // second instance is allowed, and without a message.
    void undecodableStoredPassword_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("odd length") << "61626";
        QTest::newRow("letters after F") << "ZZ";
        QTest::newRow("lower case past 255") << "zz";
        QTest::newRow("punctuation below 0") << "$$";
        QTest::newRow("outside the code page") << QStringLiteral("6\u4e00");
        QTest::newRow("one digit") << "6";
    }
    void undecodableStoredPassword() {
        QFETCH(QString, stored);
        LinuxStore store;
        QVERIFY(store.write({{userValue(QStringLiteral("BlockPass")), stored},
                             {userValue(QStringLiteral("hh")), QStringLiteral("1")}}));
        Program t;
        t.fakes.instances.earlier = true;
        t.programa.start();
        QVERIFY(!t.programa.ended());
        QVERIFY(t.programa.loaded<Form1>());
        QCOMPARE(t.programa.form1().Pass->text(), "");
        QCOMPARE(t.programa.form1().hh->text(), "1");
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    // The real program with a stored password, offscreen and with every debug message on: the
    // password is in no output, not in its command line, and in no file but the store, there
    // only encoded.
    void passwordShowsNowhere() {
        const QString password = QStringLiteral("Zq9xSecretoUnico");
        const QString encoded = CodificaPass(password);
        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("config"));
        const QString runtime = dir.filePath(QStringLiteral("run"));
        QDir().mkpath(config + QStringLiteral("/Nodavia"));
        QDir().mkpath(runtime);
        QFile::setPermissions(
            runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        {
            QFile conf(config + QStringLiteral("/Nodavia/Tempix.conf"));
            QVERIFY(conf.open(QIODevice::WriteOnly));
            conf.write("[General]\nBlockPass=" + encoded.toLatin1() +
                       "\nRunAuto=1\nStopSys=1\nhh=0\nmm=0\nss=1\nTextPerson=fin\n");
            conf.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QStringLiteral("unix:path=/nonexistent/session"));
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"),
                   QStringLiteral("unix:path=/nonexistent/system"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(TEMPIX_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        // The alert of one second completes and the lock comes up; then a look from outside.
        QThread::msleep(3000);
        QVERIFY2(program.state() == QProcess::Running,
                 program.readAllStandardError().left(2000).constData());
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(program.processId()));
        QVERIFY(cmdline.open(QIODevice::ReadOnly));
        const QByteArray arguments = cmdline.readAll();
        QCOMPARE(arguments, QByteArray(TEMPIX_PROGRAM) + '\0');
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        const QByteArray output = program.readAllStandardOutput() + program.readAllStandardError();
        QVERIFY(output.size() > 0);  // the debug messages were on: there was output to look at
        QVERIFY2(!output.contains(password.toUtf8()), output.left(2000).constData());

        int looked = 0;
        for (QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString name = it.next();
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                continue;
            }
            const QByteArray bytes = file.readAll();
            ++looked;
            QVERIFY2(!bytes.contains(password.toUtf8()), qPrintable(name));
            QVERIFY2(!bytes.contains(password.toUtf8().toHex()), qPrintable(name));
            if (!name.endsWith(QStringLiteral("/Nodavia/Tempix.conf"))) {
                QVERIFY2(!bytes.contains(encoded.toLatin1()), qPrintable(name));
            } else {
                QVERIFY(bytes.contains("BlockPass=" + encoded.toLatin1()));
                QCOMPARE(modeOf(name), mode_t(0600));
            }
        }
        QVERIFY(looked >= 1);
    }
};

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsSet("TEMPIX_INSTANCE_CHILD")) {
        // A second instance: is an earlier one running, and what is the time here?
        QCoreApplication app(argc, argv);
        LinuxInstances instances;
        std::printf("%s %lld\n", instances.earlierInstanceRunning() ? "earlier" : "alone",
                    static_cast<long long>(QDateTime::currentSecsSinceEpoch()));
        return 0;
    }
    // Before anything asks for a path or a bus: a home of the test's own, and no system bus.
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/session_bus_socket");
    QApplication app(argc, argv);
    SecurityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_security.moc"
