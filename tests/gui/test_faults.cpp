// Faults of the outside world on the real store and real files: a store that cannot be written,
// a full medium, a process killed in the middle of a save, two processes saving at once, a
// portable copy onto a medium that fills up, a missing help file. The program must go on, say
// what failed, and keep every field.

#include "alerts.h"
#include "app/form1.h"
#include "fakeplatform.h"
#include "lock/codec.h"
#include "platform/linux/basic.h"
#include "platform/linux/sound.h"
#include "platform/linux/store.h"
#include "portable/form8.h"
#include "programa.h"
#include "settings/form7.h"
#include "settings/store.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

extern char** environ;

namespace {

// The fakes, with the real store and the real file copy in their place.
struct RealProgram {
    FakePlatform fakes;
    LinuxStore store;
    LinuxFiles files;
    Platform platform{fakes.ticks, fakes.clock,  fakes.messages, fakes.power,     store,
                      fakes.tray,  fakes.opener, fakes.sound,    fakes.instances, fakes.paths,
                      files,       fakes.app,    fakes.notifier, fakes.screenLock};
    Programa programa{platform};
};

QString nodaviaFolder() {
    return QFileInfo(LinuxStore::settingsFile()).absolutePath();
}

QByteArray fileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The alert as the store reads it back, one text per value.
QStringList storedAlert(LinuxStore& store) {
    QStringList texts;
    for (const auto& [name, data] : savedAlert('A')) {
        texts.append(store.read(name).value_or(QStringLiteral("<missing>")));
    }
    return texts;
}

QStringList alertTexts(char which) {
    QStringList texts;
    for (const auto& [name, data] : savedAlert(which)) {
        texts.append(data);
    }
    return texts;
}

// Files QSaveFile or QLockFile left in the store's folder.
QStringList leftovers() {
    QStringList names = QDir(nodaviaFolder()).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral("Tempix.conf"));
    names.removeAll(QStringLiteral("Tempix.conf.lock"));
    names.removeAll(QStringLiteral("filler"));
    return names;
}

// A folder, a FIFO or a link to /dev/zero at `path`.
void makeOddFile(const QString& path, const QString& kind) {
    const QByteArray bytes = QFile::encodeName(path);
    const char* name = bytes.constData();
    QVERIFY(kind == "folder" ? QDir().mkpath(path)
            : kind == "zero" ? ::symlink("/dev/zero", name) == 0
                             : ::mkfifo(name, 0600) == 0);
}

// A small tmpfs at `folder`, or nothing when this machine does not allow it (not root).
bool mountSmallMedium(const QString& folder, int kilobytes) {
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    return ::mount("tempix-test", QFile::encodeName(folder).constData(), "tmpfs", 0,
                   options.constData()) == 0;
}

void unmount(const QString& folder) {
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}

// Fills a medium to its last byte.
void fill(const QString& file) {
    QFile filler(file);
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
}

// The saver helper, started without QProcess so that a thousand of them stay fast.
struct Saver {
    pid_t pid = -1;
    int out = -1;
    bool start(const QList<QByteArray>& arguments) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        QList<QByteArray> args = {QByteArrayLiteral(TEMPIX_SAVER)};
        args += arguments;
        std::vector<char*> argv;
        for (QByteArray& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const int rc = ::posix_spawn(&pid, TEMPIX_SAVER, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out = pipeFds[0];
        return rc == 0;
    }
    // Waits for the "r" that says the saving has begun.
    bool ready() {
        char c = 0;
        return ::read(out, &c, 1) == 1 && c == 'r';
    }
    QByteArray finish() {
        QByteArray text;
        char buffer[256];
        for (ssize_t got; (got = ::read(out, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, got);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(out);
        return text.trimmed();
    }
    void kill() {
        ::kill(pid, SIGKILL);
        finish();
    }
};

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        unmount(nodaviaFolder());
        QFile::remove(nodaviaFolder());  // the file that stood in for the folder
        QDir(nodaviaFolder()).removeRecursively();
        TestProgramSettle();
    }

    // The store's folder cannot be made (a file has its name): every save and option change
    // is reported, nothing ends, every field stays; once it can be made, the alert is stored.
    void unwritableStoreKeepsEveryField() {
        {
            QDir().mkpath(QFileInfo(nodaviaFolder()).absolutePath());
            QFile blocker(nodaviaFolder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        RealProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.hh->setText(QStringLiteral("2"));
        f.mm->setText(QStringLiteral("15"));
        f.ss->setText(QStringLiteral("30"));
        f.contra->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.habiltext->setValue(1);
        f.texto->setText(QStringLiteral("Reunión"));
        auto fieldsKept = [&] {
            return f.hh->text() == u"2" && f.mm->text() == u"15" && f.ss->text() == u"30" &&
                   f.Pass->text() == u"clave" && f.texto->text() == u"Reunión";
        };

        f.guardar->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QVERIFY(f.guardar->isEnabled());
        QVERIFY(fieldsKept());

        // "siempre" is on with nothing stored: the start saves, fails, says so and still starts.
        f.cmdIniciar1->click();
        QCOMPARE(t.fakes.messages.shown.size(), 2);
        QVERIFY(f.tmrCronómetro1->isActive());
        QCOMPARE(f.txtCantidadSegundos1->text(), "8130");
        QVERIFY(fieldsKept());

        Form7& options = t.programa.form7();
        options.sonido->setValue(0);
        QCOMPARE(t.fakes.messages.shown.size(), 3);
        QCOMPARE(t.fakes.app.quits, 0);
        QVERIFY(!t.programa.ended());

        QVERIFY(QFile::remove(nodaviaFolder()));
        f.guardar->click();
        QCOMPARE(t.fakes.messages.shown.size(), 3);
        QVERIFY(!f.guardar->isEnabled());
        QCOMPARE(t.store.read(userValue(QStringLiteral("hh"))), QStringLiteral("2"));
        QCOMPARE(t.store.read(userValue(QStringLiteral("BlockPass"))), CodificaPass("clave"));
        QCOMPARE(t.store.read(userValue(QStringLiteral("TextPerson"))), QStringLiteral("Reunión"));
        QVERIFY(leftovers().isEmpty());
    }

    // A medium with no byte left: the save is reported and the file on it stays the old one.
    void fullMediumKeepsTheOldAlert() {
        if (!mountSmallMedium(nodaviaFolder(), 64)) {
            QSKIP("no tmpfs here (needs root); fileSizeLimitKeepsTheOldAlert covers a full medium");
        }
        RealProgram t;
        Form1& f = t.programa.form1();
        f.hh->setText(QStringLiteral("1"));
        f.guardar->click();
        QVERIFY(t.fakes.messages.shown.isEmpty());
        const QByteArray old = fileBytes(LinuxStore::settingsFile());

        fill(nodaviaFolder() + QStringLiteral("/filler"));
        f.hh->setText(QStringLiteral("5"));
        f.ss->setText(QStringLiteral("9"));
        f.guardar->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QVERIFY(f.guardar->isEnabled());
        QCOMPARE(f.hh->text(), "5");
        QCOMPARE(fileBytes(LinuxStore::settingsFile()), old);
        QCOMPARE(t.store.read(userValue(QStringLiteral("hh"))), QStringLiteral("1"));
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(u' ')));

        QVERIFY(QFile::remove(nodaviaFolder() + QStringLiteral("/filler")));
        f.guardar->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.store.read(userValue(QStringLiteral("hh"))), QStringLiteral("5"));
        QCOMPARE(t.store.read(userValue(QStringLiteral("ss"))), QStringLiteral("9"));
    }

    // A process that may write no file larger than the old one (a full medium for any user):
    // its save fails whole and the old alert stays.
    void fileSizeLimitKeepsTheOldAlert() {
        LinuxStore store;
        QVERIFY(store.write(savedAlert('A')));
        const QByteArray old = fileBytes(LinuxStore::settingsFile());
        Saver saver;
        QVERIFY(saver.start({"B", "1", QByteArray::number(old.size())}));
        QVERIFY(saver.ready());
        QCOMPARE(saver.finish(), "saved 0 failed 1");
        QCOMPARE(fileBytes(LinuxStore::settingsFile()), old);
        QCOMPARE(storedAlert(store), alertTexts('A'));
    }

    // A save killed just after it made the lock file leaves it empty: the next save, even at
    // once (a restart that saves at load), must not wait for it to grow stale (QLockFile waits
    // 30 s) with the window frozen.
    void abandonedLockDoesNotStallASave() {
        LinuxStore store;
        QVERIFY(store.write(savedAlert('A')));
        {
            QFile lock(LinuxStore::settingsFile() + QStringLiteral(".lock"));
            QVERIFY(lock.open(QIODevice::WriteOnly));
        }
        QElapsedTimer clock;
        clock.start();
        QVERIFY(store.write(savedAlert('B')));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(storedAlert(store), alertTexts('B'));
    }

    // Temporary copies of killed saves older than a minute are cleared by the next save; a
    // recent one may belong to a save another instance is making and stays.
    void killedSavesLeaveNoLitter() {
        LinuxStore store;
        QVERIFY(store.write(savedAlert('A')));
        const QString old = LinuxStore::settingsFile() + QStringLiteral(".AbCdEf");
        const QString recent = LinuxStore::settingsFile() + QStringLiteral(".GhIjKl");
        for (const QString& name : {old, recent}) {
            QFile copy(name);
            QVERIFY(copy.open(QIODevice::WriteOnly));
            copy.write("[General]\nhh=1\n");
        }
        {
            QFile copy(old);
            QVERIFY(copy.open(QIODevice::Append));
            QVERIFY(copy.setFileTime(QDateTime::currentDateTime().addSecs(-120),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(store.write(savedAlert('B')));
        QVERIFY(!QFile::exists(old));
        QVERIFY(QFile::exists(recent));
        QCOMPARE(storedAlert(store), alertTexts('B'));
    }

    // Killed at any moment of a save, a process leaves the old alert or the new one, whole.
    void killedDuringSavesLeavesOneWholeAlert() {
        LinuxStore store;
        QVERIFY(store.write(savedAlert('B')));
        const QByteArray bytesB = fileBytes(LinuxStore::settingsFile());
        QVERIFY(store.write(savedAlert('A')));
        const QByteArray bytesA = fileBytes(LinuxStore::settingsFile());
        QVERIFY(bytesA != bytesB);

        const int kills = qEnvironmentVariableIntValue("TEMPIX_KILLS") > 0
                              ? qEnvironmentVariableIntValue("TEMPIX_KILLS")
                              : 500;
        // The kills must fall among saves: wait up to five saves' time, however loaded the
        // machine is.
        QElapsedTimer saving;
        saving.start();
        for (int i = 0; i < 10; ++i) {
            QVERIFY(store.write(savedAlert(i % 2 == 0 ? 'B' : 'A')));
        }
        const int longestSleepUs = qMax(20000, int(saving.nsecsElapsed() / 2000));
        QRandomGenerator random(20261208);
        QByteArray previous = bytesA;
        int changes = 0;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kills; ++i) {
            Saver saver;
            QVERIFY(saver.start({"AB", "0"}));
            QVERIFY(saver.ready());
            ::usleep(random.bounded(1000, longestSleepUs + 1));
            saver.kill();
            const QByteArray now = fileBytes(LinuxStore::settingsFile());
            QVERIFY2(now == bytesA || now == bytesB,
                     qPrintable(QStringLiteral("after kill %1: %2")
                                    .arg(i)
                                    .arg(QString::fromUtf8(now.left(300)))));
            changes += now != previous;
            previous = now;
            if (i % 100 == 0) {
                const QStringList read = storedAlert(store);
                QVERIFY(read == alertTexts('A') || read == alertTexts('B'));
            }
        }
        qInfo(
            "%d kills in %lld ms, each up to %d us into the saving; the file changed between %d of "
            "them",
            kills, clock.elapsed(), longestSleepUs, changes);
        // The kills fell among saves, not only before the first.
        QVERIFY(changes > kills / 50);
        qInfo("temporary copies left by killed saves: %lld",
              static_cast<long long>(leftovers().size()));
        // The store still works after all that.
        QVERIFY(store.write(savedAlert('B')));
        QCOMPARE(storedAlert(store), alertTexts('B'));
    }

    // Two instances saving different alerts at once: whenever the file is looked at, it is one
    // of them, whole, and no save fails.
    void twoInstancesSavingAtOnce() {
        LinuxStore store;
        QVERIFY(store.write(savedAlert('B')));
        const QByteArray bytesB = fileBytes(LinuxStore::settingsFile());
        QVERIFY(store.write(savedAlert('A')));
        const QByteArray bytesA = fileBytes(LinuxStore::settingsFile());

        const QByteArray count = qgetenv("TEMPIX_CONCURRENT_SAVES").isEmpty()
                                     ? QByteArray("1000")
                                     : qgetenv("TEMPIX_CONCURRENT_SAVES");
        Saver a;
        Saver b;
        QVERIFY(a.start({"A", count}));
        QVERIFY(b.start({"B", count}));
        QVERIFY(a.ready());
        QVERIFY(b.ready());
        int looks = 0;
        int seenA = 0;
        int seenB = 0;
        for (int status = 0;
             ::waitpid(a.pid, &status, WNOHANG) == 0 || ::waitpid(b.pid, &status, WNOHANG) == 0;) {
            const QByteArray now = fileBytes(LinuxStore::settingsFile());
            QVERIFY2(now == bytesA || now == bytesB, now.left(300).constData());
            ++looks;
            seenA += now == bytesA;
            seenB += now == bytesB;
            ::usleep(500);
        }
        QCOMPARE(a.finish(), "saved " + count + " failed 0");
        QCOMPARE(b.finish(), "saved " + count + " failed 0");
        qInfo("looked %d times: alert A %d, alert B %d", looks, seenA, seenB);
        const QStringList read = storedAlert(store);
        QVERIFY(read == alertTexts('A') || read == alertTexts('B'));
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(u' ')));
    }

    // A settings lock that is not a plain file, which QSettings would wait on for ever (or read
    // until the memory is full): the automatic start's save fails at once, reported once.
    void settingsLockThatIsNoFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("a link to /dev/zero") << "zero";
        QTest::newRow("the rmlock a FIFO") << "rmlock";
    }
    void settingsLockThatIsNoFile() {
        QFETCH(QString, kind);
        QVERIFY(LinuxStore().write(savedAlert('A') +
                                   SettingsStore::Values{{userValue("RunAuto"), "1"}}));
        makeOddFile(LinuxStore::settingsFile() + (kind == "rmlock" ? ".lock.rmlock" : ".lock"),
                    kind);
        RealProgram t;
        t.programa.start();
        QVERIFY(t.programa.form1().tmrCronómetro1->isActive());
        QCOMPARE(t.fakes.messages.shown.size(), 1);
    }

    // A sound player module that cannot be used says why on standard error.
    void soundModuleFailuresSayWhy() {
        QTemporaryFile said;
        QVERIFY(said.open());
        const int standardError = ::dup(STDERR_FILENO);
        ::dup2(said.handle(), STDERR_FILENO);
        LinuxSound(TEMPIX_NULL_SOUND_MODULE).play("/nonexistent/nodav.wav");
        ::dup2(standardError, STDERR_FILENO);
        said.seek(0);
        QVERIFY(said.readAll().endsWith(": el módulo de sonido " TEMPIX_NULL_SOUND_MODULE
                                        " no pudo crear el reproductor\n"));
    }

    // A portable copy onto a medium that fills up at the third file: reported, the bar stays,
    // no "Listo!!!", no half file, and the program goes on.
    void portableCopyOntoAMediumThatFillsUp() {
        QTemporaryDir work;
        const QString medium = work.filePath(QStringLiteral("medium"));
        if (!mountSmallMedium(medium, 64)) {
            QSKIP("no tmpfs here (needs root)");
        }
        const auto unmountLater = qScopeGuard([&] { unmount(medium); });
        const QString sources = work.filePath(QStringLiteral("program"));
        QDir().mkpath(sources);
        const QList<std::pair<QString, int>> files = {{QStringLiteral("nodav.wav"), 24},
                                                      {QStringLiteral("tempix"), 24},
                                                      {QStringLiteral("LEAME.rtf"), 24},
                                                      {QStringLiteral("LICENCIA.rtf"), 1},
                                                      {QStringLiteral("tempix_help.html"), 1}};
        for (const auto& [name, kilobytes] : files) {
            QFile file(sources + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(kilobytes * 1024, name[0].toLatin1()));
        }
        RealProgram t;
        t.fakes.paths.program = sources;
        t.fakes.paths.executable = sources;
        Form8& copy = t.programa.form8();
        copy.ruta->setText(medium + u'/');
        copy.copiar->click();

        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QVERIFY2(t.fakes.messages.lastText().contains(u"No queda espacio en el disco."),
                 qPrintable(t.fakes.messages.lastText()));
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QCOMPARE(copy.Proceso->value(), 40);
        QCOMPARE(copy.aviso->caption(), "");
        QVERIFY(!QFile::exists(medium + QStringLiteral("/LEAME.RTF")));
        QCOMPARE(fileBytes(medium + QStringLiteral("/tempix")),
                 fileBytes(sources + QStringLiteral("/tempix")));
        QVERIFY(t.programa.loaded<Form8>());
        QCOMPARE(t.fakes.app.quits, 0);
        QCOMPARE(copy.ruta->text(), medium + u'/');
    }

    // A sound file that is missing, empty, cut short, damaged, not a WAV or not a file: the
    // default sound is played instead; the default sound and the chime pass the same test.
    void badSoundFilesFallBackToTheDefault() {
        QTemporaryDir dir;
        auto make = [&](const char* name, const QByteArray& bytes) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            return file.fileName();
        };
        QCOMPARE(soundToPlay(dir.filePath(QStringLiteral("missing.wav"))), kDefaultSound);
        QCOMPARE(soundToPlay(make("empty.wav", {})), kDefaultSound);
        QCOMPARE(soundToPlay(make("short.wav", QByteArrayLiteral("RIFF\x10\0\0\0WAV"))),
                 kDefaultSound);
        QCOMPARE(soundToPlay(make("text.wav", "no es un sonido, solo texto")), kDefaultSound);
        QCOMPARE(soundToPlay(dir.path()), kDefaultSound);
        if (::geteuid() != 0) {  // root reads any file
            const QString locked = make("locked.wav", QByteArrayLiteral("RIFF\x10\0\0\0WAVEfmt "));
            QFile::setPermissions(locked, {});
            QCOMPARE(soundToPlay(locked), kDefaultSound);
        }

        const QString chime = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../resources/files/nodav.wav");
        QCOMPARE(soundToPlay(chime), chime);
        QFile original(chime);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray wave = original.readAll();
        QByteArray noFormat = wave;
        noFormat.replace(12, 4, "junk");
        QByteArray compressed = wave;
        compressed[20] = 0x55;  // a format the player does not decode
        for (const QByteArray& damaged :
             {wave.left(12), wave.left(44), wave.left(wave.size() / 2), noFormat, compressed,
              wave.left(36) + QByteArray(200, '\x7f')}) {
            QCOMPARE(soundToPlay(make("damaged.wav", damaged)), kDefaultSound);
        }
        QCOMPARE(soundToPlay(make("copy.wav", wave)), dir.filePath(QStringLiteral("copy.wav")));

        QVERIFY(QFile::exists(kDefaultSound));
        QCOMPARE(soundToPlay(kDefaultSound), kDefaultSound);
    }

    // Without its help file the help command still only asks the opener; no message of our own.
    void missingHelpFile() {
        QTemporaryDir empty;
        RealProgram t;
        t.fakes.paths.program = empty.path();
        Form1& f = t.programa.form1();
        f.hh->setText(QStringLiteral("3"));
        f.ayuda->trigger();
        QCOMPARE(t.fakes.opener.opened.size(), 1);
        QCOMPARE(t.fakes.opener.opened.last().toLocalFile(),
                 empty.path() + QStringLiteral("/tempix_help.html"));
        QVERIFY(t.fakes.messages.shown.isEmpty());
        QCOMPARE(f.hh->text(), "3");
        QVERIFY(!t.programa.ended());
    }

private:
    static void TestProgramSettle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

int main(int argc, char* argv[]) {
    // The store must live in a folder of the test's own before anything asks for its path.
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    FaultsTest test;
    const int rc = QTest::qExec(&test, argc, argv);
    unmount(nodaviaFolder());
    return rc;
}

#include "test_faults.moc"
