// The real store: QSettings and the autostart file in a temporary $XDG_CONFIG_HOME, and a save
// of the main window written through it.

#include "app/form1.h"
#include "fakeplatform.h"
#include "lock/codec.h"
#include "platform/linux/store.h"
#include "platform/linux/textsformat.h"
#include "programa.h"
#include "settings/form7.h"
#include "settings/store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>

namespace {

QString configHome() {
    return qEnvironmentVariable("XDG_CONFIG_HOME");
}

QString settingsPath() {
    return configHome() + QStringLiteral("/Nodavia/Tempix.conf");
}

QString autostartPath() {
    return configHome() + QStringLiteral("/autostart/nodavia-tempix.desktop");
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void put(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

int mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

std::optional<QString> read(const QString& name) {
    return LinuxStore().read(userValue(name));
}

// The file system lets no file grow past a few hundred bytes, as on a full disk. Unlike
// permissions it stops root too, and the tests run as root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
};

// The real store, recording each group handed to it.
struct RecordingStore : SettingsStore {
    LinuxStore real;
    QList<QStringList> groups;
    std::optional<QString> read(const QString& name) override { return real.read(name); }
    bool write(const Values& values) override {
        QStringList names;
        for (const auto& [name, data] : values) {
            names.append(name.section(u'\\', -1) + u'=' + data);
        }
        groups.append(names);
        return real.write(values);
    }
    bool remove(const QString& name) override { return real.remove(name); }
};

// A program on fakes but for the store.
struct RealStoreProgram {
    FakePlatform fakes;
    RecordingStore store;
    Platform platform{fakes.ticks, fakes.clock,  fakes.messages, fakes.power,     store,
                      fakes.tray,  fakes.opener, fakes.sound,    fakes.instances, fakes.paths,
                      fakes.files, fakes.app,    fakes.notifier, fakes.screenLock};
    Programa programa{platform};
};

// Another process reading or writing one value: "read NAME" prints the text or <missing>,
// "write NAME DATA" prints ok or failed.
QString inOtherProcess(const QStringList& arguments) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TEMPIX_STORE_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(30000)) {
        return QStringLiteral("<no answer>");
    }
    return QString::fromUtf8(child.readAllStandardOutput());
}

int childMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    LinuxStore store;
    if (args.size() == 3 && args[1] == u"read") {
        const auto v = store.read(userValue(args[2]));
        std::fputs(v ? v->toUtf8().constData() : "<missing>", stdout);
        return 0;
    }
    if (args.size() == 4 && args[1] == u"write") {
        std::fputs(store.write(userValue(args[2]), args[3]) ? "ok" : "failed", stdout);
        return 0;
    }
    return 2;
}

}  // namespace

class RealStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        QDir(configHome()).removeRecursively();
        QDir().mkpath(configHome());
    }

    void locations() {
        QCOMPARE(LinuxStore::settingsFile(), settingsPath());
        QCOMPARE(LinuxStore::autostartFile(), autostartPath());
    }

    void everyTextComesBackAsItWas() {
        const QStringList texts = {QStringLiteral(" 01 "),
                                   QStringLiteral("a, b"),
                                   QStringLiteral("@x"),
                                   QStringLiteral("@Variant(x)"),
                                   QString::fromUtf8("Año ñ € 中"),
                                   QStringLiteral("x=y;z #w"),
                                   QStringLiteral("\"q\" 'r'"),
                                   QStringLiteral("back\\slash/slash"),
                                   QString(),
                                   QStringLiteral("tab\there\nline"),
                                   QStringLiteral("nul") + QChar(0) + QStringLiteral("x")};
        const char* names[] = {"hh",  "mm",  "ss",   "BlockPass", "TextPerson", "ddd",
                               "hhh", "mmm", "ampm", "Minimize",  "Sound"};
        SettingsStore::Values values;
        for (int i = 0; i < texts.size(); ++i) {
            values.append({userValue(QString::fromLatin1(names[i])), texts[i]});
        }
        LinuxStore writer;
        QVERIFY(writer.write(values));
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(read(QString::fromLatin1(names[i])), texts[i]);
        }
        QCOMPARE(read(QStringLiteral("ampm")), QString(""));  // empty, not missing
        QCOMPARE(read(QStringLiteral("Restart")), std::nullopt);
    }

    void onlyTextsOfTheUsersFileAreValues() {
        put(settingsPath(),
            "[General]\n"
            "hh=a, b\n"
            "mm=@Size(1 2)\n"
            "ss=@Invalid()\n"
            "hhh=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\0\\x1)\n"
            "TextPerson=\"a, b\"\n"
            "BlockPass=@@x\n"
            "ddd=\n"
            "[Other]\n"
            "mmm=1\n");
        // Other files QSettings would fall back on.
        put(configHome() + QStringLiteral("/Nodavia.conf"), "[General]\nampm=P.M.\n");
        put(qEnvironmentVariable("XDG_CONFIG_DIRS") + QStringLiteral("/Nodavia/Tempix.conf"),
            "[General]\nampm=A.M.\nRestart=-1\n");
        QCOMPARE(read(QStringLiteral("hh")), std::nullopt);  // a list
        QCOMPARE(read(QStringLiteral("mm")), std::nullopt);
        QCOMPARE(read(QStringLiteral("ss")), std::nullopt);
        QCOMPARE(read(QStringLiteral("hhh")), std::nullopt);
        QCOMPARE(read(QStringLiteral("TextPerson")), "a, b");
        QCOMPARE(read(QStringLiteral("BlockPass")), "@x");
        QCOMPARE(read(QStringLiteral("ddd")), "");
        QCOMPARE(read(QStringLiteral("mmm")), std::nullopt);  // in another group
        QCOMPARE(read(QStringLiteral("ampm")), std::nullopt);
        QCOMPARE(read(QStringLiteral("Restart")), std::nullopt);
    }

    // The file the program wrote with QSettings' own format (the former versions) reads back
    // value for value, and the same values are written byte for byte as it wrote them; values
    // and groups of other programs survive a save.
    void filesOfTheFormerFormat() {
        QStringList texts = {QStringLiteral(" lead"),
                             QStringLiteral("trail "),
                             QStringLiteral("\t"),
                             QStringLiteral("a, b"),
                             QStringLiteral("\"a, b\""),
                             QStringLiteral("@@x"),
                             QStringLiteral("@Variant(x)"),
                             QStringLiteral("x=y;z #w"),
                             QStringLiteral("\\x41\\"),
                             QString::fromUtf8("Año ñ € 中 😀"),
                             QStringLiteral("\x7f\x1f") + QChar(0) + QStringLiteral("1f\x01a")};
        // And texts of any characters these escapes concern.
        const QList<uint> pool = (QString::fromUtf8(" \t\n\r\"\\,;=@%()[]#0123456789afAFxXñ€中😀") +
                                  QChar(0) + QChar(0x7f) + QChar(0x1b) + QChar(0x0b))
                                     .toUcs4();
        QRandomGenerator random(17);
        for (int i = 0; i < 200; ++i) {
            QString text;
            for (int n = random.bounded(12); n > 0; --n) {
                const char32_t c = pool[random.bounded(pool.size())];
                text += QString::fromUcs4(&c, 1);
            }
            texts.append(text);
        }
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).absolutePath()));
        for (qsizetype i = 0; i < texts.size(); i += 20) {
            const QStringList group = texts.mid(i, 20);
            const QString former = dir.filePath(QStringLiteral("former%1.conf").arg(i));
            SettingsStore::Values values;
            {
                QSettings settings(former, QSettings::NativeFormat);
                for (qsizetype k = 0; k < group.size(); ++k) {
                    const QString key = QStringLiteral("k%1").arg(k, 2, 10, QLatin1Char('0'));
                    settings.setValue(key, group[k]);
                    values.append({kUserKey + key, group[k]});
                }
            }
            QFile::remove(settingsPath());
            QVERIFY(QFile::copy(former, settingsPath()));
            for (const auto& [name, text] : values) {
                QCOMPARE(LinuxStore().read(name), text);
            }
            QFile::remove(settingsPath());
            QVERIFY(LinuxStore().write(values));
            QCOMPARE(contents(settingsPath()), contents(former));
        }

        // Keys with characters QSettings escapes, in groups of their own.
        const QString former = dir.filePath(QStringLiteral("groups.conf"));
        {
            QSettings settings(former, QSettings::NativeFormat);
            settings.setValue(QStringLiteral("hh"), QStringLiteral("1"));
            settings.setValue(QString::fromUtf8("Otro/clave con espacio%ñ中"), QStringLiteral("a"));
            settings.setValue(QStringLiteral("General/x"), QStringLiteral("b"));
            settings.setValue(QStringLiteral("Otro/sub/z"), QStringList{"c", "d"});
        }
        QFile::remove(settingsPath());
        QVERIFY(QFile::copy(former, settingsPath()));
        QVERIFY(LinuxStore().write(userValue(QStringLiteral("mm")), QStringLiteral("2")));
        const QString after = dir.filePath(QStringLiteral("after.conf"));
        QVERIFY(QFile::copy(settingsPath(), after));
        QSettings written(after, QSettings::NativeFormat);
        QCOMPARE(written.allKeys().size(), 5);
        QCOMPARE(written.value(QString::fromUtf8("Otro/clave con espacio%ñ中")), "a");
        QCOMPARE(written.value(QStringLiteral("General/x")), "b");
        QCOMPARE(written.value(QStringLiteral("Otro/sub/z")), (QStringList{"c", "d"}));
        QCOMPARE(written.value(QStringLiteral("mm")), "2");
        QCOMPARE(read(QStringLiteral("hh")), "1");
    }

    void missingValuesAndNamesOutsideTheKey() {
        LinuxStore store;
        QCOMPARE(read(QStringLiteral("hh")), std::nullopt);
        QVERIFY(!store.remove(userValue(QStringLiteral("hh"))));
        QVERIFY(store.write(userValue(QStringLiteral("hh")), QStringLiteral("3")));
        QVERIFY(store.remove(userValue(QStringLiteral("hh"))));
        QCOMPARE(read(QStringLiteral("hh")), std::nullopt);
        QVERIFY(!store.remove(userValue(QStringLiteral("hh"))));

        // A group with a name outside the key writes nothing at all.
        const QByteArray before = contents(settingsPath());
        QVERIFY(!store.write(
            {{userValue(QStringLiteral("mm")), QStringLiteral("1")},
             {QStringLiteral("HKEY_CURRENT_USER\\Software\\Otro\\mm"), QStringLiteral("1")}}));
        QVERIFY(!store.write(kUserKey + QStringLiteral("a/b"), QStringLiteral("1")));
        QVERIFY(!store.write(kUserKey, QStringLiteral("1")));
        QCOMPARE(contents(settingsPath()), before);
        QCOMPARE(store.read(kUserKey + QStringLiteral("a/b")), std::nullopt);
    }

    void anotherObjectAndAnotherProcessSeeAWriteAtOnce() {
        LinuxStore first;
        LinuxStore second;
        for (const QString& data : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("")}) {
            QVERIFY(first.write(userValue(QStringLiteral("hh")), data));
            QCOMPARE(second.read(userValue(QStringLiteral("hh"))), data);
            QCOMPARE(inOtherProcess({QStringLiteral("read"), QStringLiteral("hh")}), data);
        }
        // Same length as before: only the file's time tells the change.
        QCOMPARE(
            inOtherProcess({QStringLiteral("write"), QStringLiteral("hh"), QStringLiteral("7")}),
            "ok");
        QCOMPARE(first.read(userValue(QStringLiteral("hh"))), "7");
        QCOMPARE(
            inOtherProcess({QStringLiteral("write"), QStringLiteral("mm"), QStringLiteral("8")}),
            "ok");
        QCOMPARE(second.read(userValue(QStringLiteral("mm"))), "8");
        QCOMPARE(first.read(userValue(QStringLiteral("hh"))), "7");
    }

    void theFileIsTheUsersOnly() {
        LinuxStore store;
        QVERIFY(store.write(userValue(QStringLiteral("BlockPass")), QStringLiteral("616263")));
        QCOMPARE(mode(settingsPath()), 0600);
        QVERIFY(store.write(userValue(QStringLiteral("BlockPass")), QStringLiteral("6162")));
        QCOMPARE(mode(settingsPath()), 0600);
        // A copy others can read is closed to them at the next save.
        QVERIFY(QFile::setPermissions(settingsPath(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(store.write(userValue(QStringLiteral("hh")), QStringLiteral("1")));
        QCOMPARE(mode(settingsPath()), 0600);
        QCOMPARE(read(QStringLiteral("BlockPass")), "6162");
    }

    void saveWritesTheAlertInOneGroup_data() {
        QTest::addColumn<bool>("saveShutDown");
        QTest::addColumn<QStringList>("lines");  // of the file, besides SaveShutDown
        const QStringList five = {"hh=1", "mm=02", "ss=", "BlockPass=41F16F", "TextPerson=hola"};
        QTest::newRow("without the shut-down choices") << false << five;
        QTest::newRow("with the shut-down choices")
            << true << five + QStringList{"ShutState=1", "Shutdown=0", "Restart=-1"};
    }
    void saveWritesTheAlertInOneGroup() {
        QFETCH(bool, saveShutDown);
        QFETCH(QStringList, lines);
        if (saveShutDown) {
            QVERIFY(
                LinuxStore().write(userValue(QStringLiteral("SaveShutDown")), QStringLiteral("1")));
        }
        RealStoreProgram t;
        Form1& f = t.programa.form1();
        f.habapaga->setValue(1);
        f.reinicia->setValue(true);
        f.hh->setText(QStringLiteral("1"));
        f.mm->setText(QStringLiteral("02"));
        f.Pass->setText(QString::fromUtf8("Año"));
        f.texto->setText(QStringLiteral("hola"));
        f.guardar->click();
        QVERIFY(t.fakes.messages.shown.isEmpty());
        QVERIFY(!f.guardar->isEnabled());
        QCOMPARE(t.store.groups, QList<QStringList>{lines});

        QStringList inFile = QString::fromUtf8(contents(settingsPath())).split(u'\n');
        inFile.removeAll(QString());
        inFile.removeAll(QStringLiteral("[General]"));
        inFile.removeAll(QStringLiteral("SaveShutDown=1"));
        QStringList expected = lines;
        expected.sort();
        inFile.sort();
        QCOMPARE(inFile, expected);
        for (const QString& line : lines) {
            QCOMPARE(read(line.section(u'=', 0, 0)), line.section(u'=', 1));
        }
        QCOMPARE(mode(settingsPath()), 0600);

        f.texto->setText(QStringLiteral("adiós"));
        f.guardar->click();
        QCOMPARE(read(QStringLiteral("TextPerson")), QString::fromUtf8("adiós"));
        QCOMPARE(mode(settingsPath()), 0600);

        // The next start finds the alert again.
        RealStoreProgram next;
        Form1& g = next.programa.form1();
        QCOMPARE(g.hh->text(), "1");
        QCOMPARE(g.mm->text(), "02");
        QCOMPARE(g.Pass->text(), QString::fromUtf8("Año"));
        // A restored, checked shut-down box empties the text as a click would.
        QCOMPARE(g.texto->text(), saveShutDown ? QString() : QString::fromUtf8("adiós"));
        QCOMPARE(g.habapaga->value(), saveShutDown ? 1 : 0);
        QCOMPARE(g.reinicia->value(), saveShutDown);
        QVERIFY(!g.apaga->value());
    }

    void aFullDiskLeavesTheOldFileAsItWas() {
        LinuxStore store;
        const QString longText(300, u'x');
        QVERIFY(store.write({{userValue(QStringLiteral("hh")), QStringLiteral("1")},
                             {userValue(QStringLiteral("TextPerson")), longText}}));
        const QByteArray before = contents(settingsPath());
        QVERIFY(before.size() > 300);

        RealStoreProgram t;
        Form1& f = t.programa.form1();
        f.hh->setText(QStringLiteral("2"));
        f.mm->setText(QStringLiteral("30"));
        f.texto->setText(QString(250, u'z'));
        {
            FileSizeLimit limit(200);
            f.guardar->click();
            QVERIFY(!store.write(userValue(QStringLiteral("Sound")), longText));
        }
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.lastText(),
                 QString::fromUtf8("No se pudo guardar el aviso: la configuración no se puede "
                                   "escribir. Los datos del aviso se conservan en la ventana."));
        QVERIFY(f.guardar->isEnabled());
        QCOMPARE(f.hh->text(), "2");
        QCOMPARE(contents(settingsPath()), before);
        QCOMPARE(QDir(configHome() + QStringLiteral("/Nodavia")).entryList(QDir::Files),
                 QStringList{"Tempix.conf"});  // no temporary file left behind

        // Nothing of the failed groups comes back later: not on reading, nor with the next
        // write that succeeds.
        QCOMPARE(read(QStringLiteral("hh")), "1");
        QCOMPARE(read(QStringLiteral("mm")), std::nullopt);
        QCOMPARE(read(QStringLiteral("Sound")), std::nullopt);
        QVERIFY(store.write(userValue(QStringLiteral("ShowCron")), QStringLiteral("1")));
        QCOMPARE(read(QStringLiteral("hh")), "1");
        QCOMPARE(read(QStringLiteral("TextPerson")), longText);
        QCOMPARE(read(QStringLiteral("mm")), std::nullopt);
        QCOMPARE(read(QStringLiteral("Sound")), std::nullopt);
        QCOMPARE(inOtherProcess({QStringLiteral("read"), QStringLiteral("mm")}), "<missing>");
        QCOMPARE(mode(settingsPath()), 0600);
    }

    void aLineQSettingsCannotParseDoesNotHideTheOutcome() {
        put(settingsPath(), "[General]\nhh=5\nthis line has no equals sign\n");
        LinuxStore store;
        QCOMPARE(read(QStringLiteral("hh")), "5");
        {
            FileSizeLimit limit(20);
            QVERIFY(!store.write(userValue(QStringLiteral("TextPerson")), QString(100, u'y')));
        }
        QCOMPARE(contents(settingsPath()), "[General]\nhh=5\nthis line has no equals sign\n");
        QVERIFY(store.write(userValue(QStringLiteral("mm")), QStringLiteral("1")));
        QCOMPARE(read(QStringLiteral("hh")), "5");
        QCOMPARE(read(QStringLiteral("mm")), "1");
        QCOMPARE(read(QStringLiteral("TextPerson")), std::nullopt);
    }

    // Hand-edited files read as QSettings' own reader reads them (its INI format on a copy),
    // except that a line never takes in the lines after it; a save of another value keeps every
    // value as it was, bytes that are not UTF-8 included (no value, and not U+FFFD).
    void handEditedFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("hh");
        QTest::addColumn<bool>("asQSettings");
        const QByteArray lines = "[General]\nhh=1\nmm=2\nTextPerson=hola\n";
        QTest::newRow("CRLF") << QByteArray(lines).replace("\n", "\r\n") << "1" << true;
        QTest::newRow("CR") << QByteArray(lines).replace('\n', '\r') << "1" << true;
        QTest::newRow("LF CR, blanks")
            << QByteArray("\n\r [General]\n\r\thh = 1 \n\r[x]\ry=2") << "1" << true;
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFhh=1\nmm=2\n") << "1" << true;
        QTest::newRow("comments") << QByteArray("; a\r[General]\r ;hh=9\rhh=5 ; b\rmm=2;x=3\r")
                                  << "5" << true;
        QTest::newRow("; = \\\" in quotes")
            << QByteArray("hh=\"5;\\\"\" ; c\n\"a=b\"=1\nmm=x\\;y=z\n") << "5;\"" << true;
        QTest::newRow("open quote, backslash at the end")
            << QByteArray("TextPerson=\"a\nmm=C:\\\nhh=4\n") << "4" << false;
        QTest::newRow("not UTF-8") << QByteArray("hh=Reuni\xF3n\nmm=ab\xC3\n") << "<none>" << false;
    }
    void handEditedFiles() {
        QFETCH(QByteArray, file);
        QFETCH(QString, hh);
        QFETCH(bool, asQSettings);
        put(settingsPath(), file);
        QSettings::SettingsMap values = textsFileValues(file);
        put(configHome() + "/ini.conf", file);  // QSettings shares what it parsed by file name
        QSettings own(configHome() + "/ini.conf", QSettings::IniFormat);
        for (const QString& key : own.allKeys()) {
            QCOMPARE(asQSettings ? values.value(key) : own.value(key), own.value(key));
        }
        QVERIFY(!asQSettings || values.keys() == own.allKeys());
        QCOMPARE(read("hh").value_or("<none>"), hh);
        QVERIFY(LinuxStore().write(userValue("ss"), "9"));
        values.insert("ss", "9");
        QCOMPARE(textsFileValues(contents(settingsPath())), values);
    }

    // A serialized Qt value that would recurse until the stack overflows (in the top-level
    // group it crashed every start, in another group every save) and a key that QSettings
    // folded into another name (every save was taken for a cut one): neither is a value,
    // both stay in the file as they were, and saves go on.
    void handEditedLinesNeitherCrashNorBlockASave() {
        QByteArray nested = "@Variant(";
        for (int i = 0; i < 50000; ++i) {
            nested += "\\0\\0\\0\\x9\\0\\0\\0\\x1";
        }
        nested += ')';
        put(settingsPath(), "[General]\nhh=1\nmm=" + nested +
                                "\nSaveShutDown=1\n/SaveShutDown=0\n[Otro]\nx=" + nested + "\n");
        QCOMPARE(read(QStringLiteral("hh")), "1");
        QCOMPARE(read(QStringLiteral("mm")), std::nullopt);
        QCOMPARE(read(QStringLiteral("SaveShutDown")), "1");
        RealStoreProgram t;
        Form1& f = t.programa.form1();
        QCOMPARE(f.hh->text(), "1");
        f.hh->setText(QStringLiteral("2"));
        f.guardar->click();
        QCOMPARE(t.fakes.messages.shown.size(), 0);
        t.programa.form7().sonido->setValue(0);
        QCOMPARE(t.fakes.messages.shown.size(), 0);
        QCOMPARE(read(QStringLiteral("hh")), "2");
        QCOMPARE(read(QStringLiteral("Sound")), "0");
        QCOMPARE(read(QStringLiteral("mm")), "");  // the save wrote the empty field
        QVERIFY(contents(settingsPath()).endsWith("\n[Otro]\nx=" + nested + '\n'));
    }

    // Texts longer than a text box takes by default (32,767 characters) come back whole and
    // are saved back whole: a long password stays the same password.
    void longStoredTextsAreKeptWhole() {
        const QString password(40000, u'p');
        const QString text(40000, u't');
        QVERIFY(
            LinuxStore().write({{userValue(QStringLiteral("BlockPass")), CodificaPass(password)},
                                {userValue(QStringLiteral("TextPerson")), text}}));
        RealStoreProgram t;
        Form1& f = t.programa.form1();
        QCOMPARE(f.Pass->text(), password);
        QCOMPARE(f.texto->text(), text);
        f.hh->setText(QStringLiteral("1"));
        f.guardar->click();
        QCOMPARE(read(QStringLiteral("BlockPass")), CodificaPass(password));
        QCOMPARE(read(QStringLiteral("TextPerson")), text);
    }

    void aStoreInTheWayOfTheFile() {
        LinuxStore store;
        // A folder where the file should be.
        put(settingsPath() + QStringLiteral("/kept"), "data");
        QVERIFY(!store.write(userValue(QStringLiteral("hh")), QStringLiteral("1")));
        QCOMPARE(read(QStringLiteral("hh")), std::nullopt);
        QCOMPARE(contents(settingsPath() + QStringLiteral("/kept")), "data");
        QVERIFY(QDir(settingsPath()).removeRecursively());

        // A file where the folder should be.
        QVERIFY(QDir(configHome() + QStringLiteral("/Nodavia")).removeRecursively());
        put(configHome() + QStringLiteral("/Nodavia"), "not a folder");
        QVERIFY(!store.write(userValue(QStringLiteral("hh")), QStringLiteral("1")));
        QCOMPARE(contents(configHome() + QStringLiteral("/Nodavia")), "not a folder");
        QCOMPARE(read(QStringLiteral("hh")), std::nullopt);
        QVERIFY(QFile::remove(configHome() + QStringLiteral("/Nodavia")));

        // A FIFO, which would block the first read until some writer came: the program starts
        // as with no file, and a save fails without replacing it.
        QVERIFY(QDir().mkpath(configHome() + QStringLiteral("/Nodavia")));
        QCOMPARE(::mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0);
        QCOMPARE(read(QStringLiteral("hh")), std::nullopt);
        RealStoreProgram t;
        t.programa.start();
        QVERIFY(!t.programa.ended());
        QVERIFY(t.programa.form1().hh->text().isEmpty());
        QVERIFY(!store.write(userValue(QStringLiteral("hh")), QStringLiteral("1")));
        QVERIFY(!store.remove(userValue(QStringLiteral("hh"))));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(settingsPath()).constData(), &st) == 0 &&
                S_ISFIFO(st.st_mode));
    }

    void aReadOnlyFile() {
        if (::geteuid() == 0) {
            QSKIP("root writes through file permissions; the full-disk case covers it");
        }
        LinuxStore store;
        QVERIFY(store.write(userValue(QStringLiteral("hh")), QStringLiteral("1")));
        const QByteArray before = contents(settingsPath());
        QVERIFY(QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner));
        QVERIFY(!store.write(userValue(QStringLiteral("hh")), QStringLiteral("2")));
        QCOMPARE(contents(settingsPath()), before);
        QCOMPARE(mode(settingsPath()), 0400);  // not opened up by the program
        QCOMPARE(read(QStringLiteral("hh")), "1");
        QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void aGreyedRunWinWithoutAnEntryLoadsSilently() {
        // The box greyed from the store removes the entry, which is not there: nothing to say.
        QVERIFY(LinuxStore().write(userValue(QStringLiteral("RunWin")), QStringLiteral("2")));
        RealStoreProgram t;
        QCOMPARE(t.programa.form7().RunWin->value(), 2);
        QVERIFY2(t.fakes.messages.shown.isEmpty(), qPrintable(t.fakes.messages.lastText()));
        QCOMPARE(read(QStringLiteral("RunWin")), "0");
        QVERIFY(!QFileInfo::exists(autostartPath()));
    }

    void theStartUpEntry_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("tryExec");  // a plain string: no quotes, no "%%"
        QTest::newRow("plain") << "/opt/tempix/tempix"
                               << "/opt/tempix/tempix"
                               << "/opt/tempix/tempix";
        QTest::newRow("space and dollar") << "/home/ana/Mis programas/$10/tempix"
                                          << "\"/home/ana/Mis programas/\\\\$10/tempix\""
                                          << "/home/ana/Mis programas/$10/tempix";
        QTest::newRow("quote and backquote") << "/tmp/a\"b`c/tempix"
                                             << "\"/tmp/a\\\\\"b\\\\`c/tempix\""
                                             << "/tmp/a\"b`c/tempix";
        QTest::newRow("backslash") << "/tmp/a\\b/tempix"
                                   << "\"/tmp/a\\\\\\\\b/tempix\""
                                   << "/tmp/a\\\\b/tempix";
        QTest::newRow("percent") << "/tmp/100%/tempix"
                                 << "/tmp/100%%/tempix"
                                 << "/tmp/100%/tempix";
        QTest::newRow("reserved without escape") << "/tmp/a&b (1)/tempix"
                                                 << "\"/tmp/a&b (1)/tempix\""
                                                 << "/tmp/a&b (1)/tempix";
        QTest::newRow("non-ASCII")
            << QString::fromUtf8("/home/íñigo/tempix") << QString::fromUtf8("/home/íñigo/tempix")
            << QString::fromUtf8("/home/íñigo/tempix");
    }
    void theStartUpEntry() {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QFETCH(QString, tryExec);
        LinuxStore store;
        QVERIFY(!store.remove(kRunEntry));
        QCOMPARE(store.read(kRunEntry), std::nullopt);
        QVERIFY(store.write(kRunEntry, program));
        // TryExec lets the session skip the entry once the program is gone; Icon shows it in
        // the desktop's list of programs started at logon.
        QCOMPARE(QString::fromUtf8(contents(autostartPath())),
                 QStringLiteral("[Desktop Entry]\nType=Application\nName=Nodavia Tempix\nExec=") +
                     exec + QStringLiteral("\nTryExec=") + tryExec +
                     QStringLiteral("\nIcon=nodavia-tempix\n"));
        QCOMPARE(store.read(kRunEntry), program);
        QCOMPARE(desktopExecProgram(exec), program);
        QVERIFY(!QFileInfo::exists(settingsPath()));  // the per-user values are elsewhere

        const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validator.isEmpty()) {
            QProcess check;
            check.start(validator, {autostartPath()});
            QVERIFY(check.waitForFinished(30000));
            QVERIFY2(check.exitCode() == 0 && check.readAllStandardOutput().trimmed().isEmpty(),
                     qPrintable(contents(autostartPath())));
        }

        QVERIFY(store.remove(kRunEntry));
        QVERIFY(!QFileInfo::exists(autostartPath()));
        QCOMPARE(store.read(kRunEntry), std::nullopt);
        QVERIFY(!store.remove(kRunEntry));
    }

    void anEntryOfAnEarlierVersionIsStillRead_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<std::optional<QString>>("program");
        QTest::newRow("Exec only") << QByteArray(
                                          "[Desktop Entry]\nType=Application\n"
                                          "Name=Nodavia Tempix\nExec=/opt/tempix/tempix\n")
                                   << std::optional<QString>("/opt/tempix/tempix");
        QTest::newRow("quoted, keys moved") << QByteArray(
                                                   "[Desktop Entry]\nExec=\"/a b/tempix\"\n"
                                                   "Name=Nodavia Tempix\n")
                                            << std::optional<QString>("/a b/tempix");
        QTest::newRow("another group's Exec")
            << QByteArray("[Desktop Action x]\nExec=/x\n") << std::optional<QString>();
    }
    void anEntryOfAnEarlierVersionIsStillRead() {
        QFETCH(QByteArray, entry);
        QFETCH(std::optional<QString>, program);
        QVERIFY(QDir().mkpath(QFileInfo(autostartPath()).absolutePath()));
        QFile file(autostartPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size());
        file.close();
        LinuxStore store;
        QCOMPARE(store.read(kRunEntry), program);
        // Written again, as the Options window does, it gains the new keys.
        QVERIFY(store.write(kRunEntry, QStringLiteral("/opt/tempix/tempix")));
        QVERIFY(contents(autostartPath()).contains("\nTryExec=/opt/tempix/tempix\n"));
        QVERIFY(store.remove(kRunEntry));
    }

    void aGroupWithTheEntryWritesBoth() {
        LinuxStore store;
        QVERIFY(store.write({{userValue(QStringLiteral("RunWin")), QStringLiteral("1")},
                             {kRunEntry, QStringLiteral("/opt/tempix/tempix")}}));
        QCOMPARE(read(QStringLiteral("RunWin")), "1");
        QCOMPARE(store.read(kRunEntry), "/opt/tempix/tempix");
        // A folder in the way of the entry.
        QVERIFY(QFile::remove(autostartPath()));
        QVERIFY(QDir().mkpath(autostartPath()));
        QVERIFY(!store.write(kRunEntry, QStringLiteral("/opt/tempix/tempix")));
        QVERIFY(!store.remove(kRunEntry));
    }

    void execValuesWrittenByHand() {
        QCOMPARE(desktopExecProgram(QStringLiteral("tempix --oculto")), "tempix");
        QCOMPARE(desktopExecProgram(QStringLiteral("\"/a b/tempix\" %U")), "/a b/tempix");
        QCOMPARE(desktopExecProgram(QStringLiteral("/a\\sb")), "/a");  // a space separates
        QCOMPARE(desktopExecProgram(QStringLiteral("\"/a b")), std::nullopt);
        QCOMPARE(desktopExecProgram(QString()), std::nullopt);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("TEMPIX_STORE_CHILD")) {
        return childMain(argc, argv);
    }
    // The store must find only folders of this test, before anything asks Qt where they are:
    // QSettings keeps the first answer for the life of the process.
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", (home.path() + QStringLiteral("/system")).toUtf8());
    QApplication app(argc, argv);
    RealStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_real_store.moc"
