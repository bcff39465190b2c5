// The portable copy on real folders: the destination from the folder list, the copy with its
// progress, and what a failed copy leaves behind.

#include "about/form5.h"
#include "common/twips.h"
#include "fakeplatform.h"
#include "platform/linux/basic.h"
#include "portable/form8.h"
#include "programa.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The real copy, with a record of what was asked of it.
struct RecordedFiles : FileService {
    LinuxFiles real;
    QStringList calls;
    QString copyReplacing(const QString& source, const QString& destination) override {
        calls.append(QFileInfo(source).fileName() + QStringLiteral(" -> ") + destination);
        return real.copyReplacing(source, destination);
    }
};

struct Portable {
    FakePlatform fakes;
    RecordedFiles files;
    Platform platform{fakes.ticks, fakes.clock,  fakes.messages, fakes.power,     fakes.store,
                      fakes.tray,  fakes.opener, fakes.sound,    fakes.instances, fakes.paths,
                      files,       fakes.app,    fakes.notifier, fakes.screenLock};
    Programa programa{platform};
    QTemporaryDir data;        // the program's files
    QTemporaryDir executable;  // the running program
    QTemporaryDir target;      // where the copy goes

    Portable() {
        fakes.paths.program = data.path();
        fakes.paths.executable = executable.path();
    }
    Form8& form() { return programa.form8(); }
    QString dest(const QString& name = {}) const { return target.path() + u'/' + name; }
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    return file.readAll();
}

void put(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray bytes(char seed, int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        b[i] = static_cast<char>(seed + i * 31 + i / 253);
    }
    return b;
}

// The six sources under names whose letter case differs from the ones the copy asks for.
struct Sources {
    QMap<QString, QByteArray> byDestination;
};
Sources makeSources(Portable& p, char seed, int programSize = 40'000) {
    Sources s;
    const QList<std::pair<QString, QString>> names = {{"NODAV.WAV", "nodav.wav"},
                                                      {"LeAmE.rtf", "LEAME.RTF"},
                                                      {"licencia.RTF", "LICENCIA.RTF"},
                                                      {"Tempix_Help.HTML", "tempix_help.html"}};
    int n = 0;
    for (const auto& [source, destination] : names) {
        ++n;
        const QByteArray content = bytes(static_cast<char>(seed + n), 3000 + n * 1000);
        put(p.data.filePath(source), content);
        s.byDestination[destination] = content;
    }
    const QByteArray program = bytes(seed, programSize);
    const QString programPath = p.executable.filePath("Tempix");
    put(programPath, program);
    QFile::setPermissions(programPath, QFile::permissions(programPath) | QFile::ExeOwner |
                                           QFile::ExeGroup | QFile::ExeOther);
    s.byDestination["tempix"] = program;
    const QByteArray module = bytes(static_cast<char>(seed + 7), 2000);
    put(p.executable.filePath("Tempix-Sound.so"), module);
    s.byDestination["tempix-sound.so"] = module;
    return s;
}

// Chooses a folder as the user would: its drive in the drive list, then the folder itself.
bool choose(Form8& f, const QString& folder) {
    const int drive = f.drive->indexHolding(folder);
    if (f.drive->currentIndex() != drive) {
        f.drive->setCurrentIndex(drive);
    }
    return f.setDirsPath(folder);
}

const QStringList kCopied = {"LEAME.RTF", "LICENCIA.RTF",    "nodav.wav",
                             "tempix",    "tempix-sound.so", "tempix_help.html"};

// A tiny file system of our own inside a temporary folder, while the test runs as root.
struct TinyVolume {
    QTemporaryDir at;
    bool mounted = false;
    explicit TinyVolume(const char* options, unsigned long flags = 0) {
        mounted = at.isValid() && ::mount("tempix-test", at.path().toLocal8Bit().constData(),
                                          "tmpfs", flags, options) == 0;
    }
    ~TinyVolume() {
        if (mounted) {
            ::umount2(at.path().toLocal8Bit().constData(), MNT_DETACH);
        }
    }
};

}  // namespace

class PortableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensWithoutADestination() {
        Portable p;
        Form8& f = p.form();
        QCOMPARE(f.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QCOMPARE(f.size(), twipsSize(5415, 3015));
        QVERIFY(f.windowFlags().testFlag(Qt::Tool));
        QVERIFY(f.ruta->text().isEmpty());
        QVERIFY(!f.ruta->isEnabled());
        QCOMPARE(f.Proceso->minimum(), 0);
        QCOMPARE(f.Proceso->maximum(), 100);
        QCOMPARE(f.Proceso->value(), 0);
        QVERIFY(f.aviso->caption().isEmpty());
        QCOMPARE(f.copiar->text(), "Portar!!");
        // The root is always offered; pseudo file systems never are.
        QCOMPARE(f.drive->itemData(0).toString(), "/");
        for (int i = 0; i < f.drive->count(); ++i) {
            const QString root = f.drive->itemData(i).toString();
            QVERIFY2(
                !root.startsWith("/proc") && !root.startsWith("/sys") && !root.startsWith("/dev"),
                qPrintable(root));
        }

        // No destination: the message, and nothing is copied.
        makeSources(p, 'a');
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QCOMPARE(p.fakes.messages.shown.size(), 1);
        QCOMPARE(p.fakes.messages.lastText(), "Selecciona alguna ubicacion para continuar.");
        QCOMPARE(p.fakes.messages.shown[0].icon, MessageIcon::Critical);
        QCOMPARE(p.fakes.messages.shown[0].title, "Nodavia Tempix");
        QVERIFY(p.files.calls.isEmpty());
        QCOMPARE(f.Proceso->value(), 0);
        QVERIFY(f.aviso->caption().isEmpty());
    }

    void destinationFromTheFolderList() {
        Portable p;
        Form8& f = p.form();
        QDir(p.target.path()).mkpath("sub/inner");

        QVERIFY(choose(f, "/"));
        QCOMPARE(f.ruta->text(), "/");
        QVERIFY(choose(f, p.dest("sub/inner")));
        QCOMPARE(f.ruta->text(), p.dest("sub/inner/"));

        // A mounted medium: its root unchanged with one "/", its folders below it.
        f.drive->addItem("usb", p.target.path());
        f.drive->setCurrentIndex(f.drive->count() - 1);
        QCOMPARE(f.ruta->text(), p.dest());
        QCOMPARE(f.dirs->model()->rowCount(f.dirs->rootIndex()), 1);
        QCOMPARE(f.dirs->currentIndex().data().toString(), QFileInfo(p.target.path()).fileName());
        QVERIFY(!f.setDirsPath("/"));  // not on this medium
        QVERIFY(f.setDirsPath(p.dest("sub")));
        QCOMPARE(f.ruta->text(), p.dest("sub/"));

        // A drive without a medium: told so, and the destination stays.
        f.drive->addItem("cdrom", p.dest("no-medium"));
        const int before = f.drive->currentIndex();
        f.drive->setCurrentIndex(f.drive->count() - 1);
        QCOMPARE(p.fakes.messages.shown.size(), 1);
        QVERIFY(p.fakes.messages.lastText().contains("cdrom"));
        QCOMPARE(p.fakes.messages.shown[0].title, "Nodavia Tempix");
        QCOMPARE(f.ruta->text(), p.dest("sub/"));
        QCOMPARE(f.drive->currentIndex(), before);
        QVERIFY(!p.programa.ended());
    }

    void completeCopyAndAReplacingOne() {
        Portable p;
        Form8& f = p.form();
        Sources first = makeSources(p, 'a');
        QVERIFY(choose(f, p.target.path()));
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QVERIFY2(p.fakes.messages.shown.isEmpty(), qPrintable(p.fakes.messages.lastText()));
        QCOMPARE(f.Proceso->value(), 100);
        QCOMPARE(f.aviso->caption(), "Listo!!!");
        QCOMPARE(p.files.calls, QStringList({"NODAV.WAV -> " + p.dest("nodav.wav"),
                                             "Tempix -> " + p.dest("tempix"),
                                             "LeAmE.rtf -> " + p.dest("LEAME.RTF"),
                                             "licencia.RTF -> " + p.dest("LICENCIA.RTF"),
                                             "Tempix_Help.HTML -> " + p.dest("tempix_help.html"),
                                             "Tempix-Sound.so -> " + p.dest("tempix-sound.so")}));
        QCOMPARE(QDir(p.target.path()).entryList(QDir::Files, QDir::Name), kCopied);
        for (const QString& name : kCopied) {
            QVERIFY2(contentOf(p.dest(name)) == first.byDestination[name], qPrintable(name));
        }
        QVERIFY(QFileInfo(p.dest("tempix")).isExecutable());

        // The second copy replaces every file; the bar starts again while "Listo!!!" stays.
        for (const QString& name : QDir(p.data.path()).entryList(QDir::Files)) {
            QFile::remove(p.data.filePath(name));
        }
        QFile::remove(p.executable.filePath("Tempix"));
        QFile::remove(p.executable.filePath("Tempix-Sound.so"));
        Sources second = makeSources(p, 'q', 1000);  // a shorter program: nothing of the old
        QFile::setPermissions(p.dest("tempix"), QFile::ReadOwner | QFile::WriteOwner);
        QList<std::pair<int, QString>> seen;
        connect(f.Proceso, &QProgressBar::valueChanged, this, [&](int value) {
            seen.append({value, f.aviso->caption()});
        });
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QVERIFY(p.fakes.messages.shown.isEmpty());
        const QList<std::pair<int, QString>> expected = {
            {0, "Listo!!!"},  {20, "Listo!!!"}, {40, "Listo!!!"}, {60, "Listo!!!"},
            {80, "Listo!!!"}, {90, "Listo!!!"}, {100, "Listo!!!"}};
        QCOMPARE(seen, expected);
        for (const QString& name : kCopied) {
            QVERIFY2(contentOf(p.dest(name)) == second.byDestination[name], qPrintable(name));
        }
        QVERIFY(QFileInfo(p.dest("tempix")).isExecutable());
    }

    // Symbolic links in the chosen folder, to files of the user's: each is replaced by the
    // copied file, and the files they pointed to keep their contents and modes. The copies get
    // the modes of new files (the source's less the umask).
    void symlinksInTheDestinationAreReplacedNotFollowed() {
        Portable p;
        Form8& f = p.form();
        Sources sources = makeSources(p, 'a');
        QTemporaryDir elsewhere;
        const mode_t oldMask = ::umask(027);
        const auto restoreMask = qScopeGuard([&] { ::umask(oldMask); });
        for (const char* name : {"LEAME.RTF", "tempix"}) {
            const QString victim = elsewhere.filePath(name);
            put(victim, "datos del usuario");
            QVERIFY(QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner));
            QVERIFY(QFile::link(victim, p.dest(name)));
        }
        QFile::setPermissions(p.data.filePath("LeAmE.rtf"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                  QFile::WriteGroup | QFile::ReadOther);
        QVERIFY(choose(f, p.target.path()));
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QVERIFY2(p.fakes.messages.shown.isEmpty(), qPrintable(p.fakes.messages.lastText()));
        QCOMPARE(f.aviso->caption(), "Listo!!!");
        for (const char* name : {"LEAME.RTF", "tempix"}) {
            QCOMPARE(contentOf(elsewhere.filePath(name)), "datos del usuario");
            QCOMPARE(QFile::permissions(elsewhere.filePath(name)),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
            QVERIFY(!QFileInfo(p.dest(name)).isSymLink());
            QCOMPARE(contentOf(p.dest(name)), sources.byDestination[name]);
        }
        QCOMPARE(QFile::permissions(p.dest("LEAME.RTF")), QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ReadUser | QFile::WriteUser |
                                                              QFile::ReadGroup);
        QVERIFY(QFileInfo(p.dest("tempix")).isExecutable());
        QVERIFY(!(QFile::permissions(p.dest("tempix")) & (QFile::WriteGroup | QFile::ExeOther)));
        QCOMPARE(QDir(p.target.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 kCopied);  // no temporary copy left
    }

    void missingSourceStopsTheCopy() {
        Portable p;
        Form8& f = p.form();
        makeSources(p, 'a');
        QVERIFY(QFile::remove(p.data.filePath("licencia.RTF")));
        QVERIFY(choose(f, p.target.path()));
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QCOMPARE(f.Proceso->value(), 60);
        QVERIFY(f.aviso->caption().isEmpty());
        QCOMPARE(QDir(p.target.path()).entryList(QDir::Files, QDir::Name),
                 QStringList({"LEAME.RTF", "nodav.wav", "tempix"}));
        QCOMPARE(p.fakes.messages.shown.size(), 1);
        const FakeMessages::Shown& m = p.fakes.messages.shown[0];
        QVERIFY2(m.text.contains("\"LICENCIA.rtf\"") &&
                     m.text.contains("No se encuentra el archivo de origen."),
                 qPrintable(m.text));
        QCOMPARE(m.icon, MessageIcon::Critical);
        QCOMPARE(m.title, "Nodavia Tempix");
        QVERIFY(!p.programa.ended());
        QCOMPARE(p.fakes.app.quits, 0);
    }

    void destinationGoneBeforeTheCopy() {
        Portable p;
        Form8& f = p.form();
        makeSources(p, 'a');
        QVERIFY(QDir(p.target.path()).mkdir("other"));
        QVERIFY(QDir(p.target.path()).mkdir("stick"));
        QVERIFY(choose(f, p.dest("stick")));
        QVERIFY(QDir(p.dest("stick")).removeRecursively());
        // The folder list notices and moves to a neighbour; the destination stays the user's.
        QTRY_VERIFY_WITH_TIMEOUT(f.dirsPath() != p.dest("stick"), 10000);
        QCOMPARE(f.ruta->text(), p.dest("stick/"));
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QCOMPARE(f.Proceso->value(), 0);
        QVERIFY(f.aviso->caption().isEmpty());
        QVERIFY(p.files.calls.isEmpty());
        QCOMPARE(QDir(p.target.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(p.fakes.messages.shown.size(), 1);
        QCOMPARE(p.fakes.messages.shown[0].icon, MessageIcon::Critical);
        QVERIFY2(p.fakes.messages.lastText().contains(p.dest("stick/")) &&
                     p.fakes.messages.lastText().contains("ya no existe"),
                 qPrintable(p.fakes.messages.lastText()));

        // A destination whose folder is a file.
        put(p.dest("stick"), "not a folder");
        QCOMPARE(p.files.real.copyReplacing(p.data.filePath("NODAV.WAV"), p.dest("stick/x")),
                 "La ruta de destino no es una carpeta.");
    }

    void fullAndReadOnlyMedia() {
        if (geteuid() != 0) {
            QSKIP("mounting a small file system needs root");
        }
        {
            TinyVolume tiny("size=64k");
            if (!tiny.mounted) {
                QSKIP("this machine does not let a test mount a file system");
            }
            Portable p;
            Form8& f = p.form();
            makeSources(p, 'a', 200'000);  // the program does not fit, the sound does
            f.drive->addItem("usb", tiny.at.path());
            f.drive->setCurrentIndex(f.drive->count() - 1);
            QCOMPARE(f.ruta->text(), tiny.at.path() + u'/');
            QTest::mouseClick(f.copiar, Qt::LeftButton);
            QCOMPARE(f.Proceso->value(), 20);
            QVERIFY(f.aviso->caption().isEmpty());
            QVERIFY2(p.fakes.messages.lastText().contains("\"Tempix\"") &&
                         p.fakes.messages.lastText().contains("No queda espacio en el disco."),
                     qPrintable(p.fakes.messages.lastText()));
            // No half program is left on the medium.
            QVERIFY(!QFileInfo::exists(tiny.at.filePath("tempix")));
            QCOMPARE(contentOf(tiny.at.filePath("nodav.wav")),
                     contentOf(p.data.filePath("NODAV.WAV")));
        }
        {
            TinyVolume readOnly("size=64k", MS_RDONLY);
            QVERIFY(readOnly.mounted);
            Portable p;
            Form8& f = p.form();
            makeSources(p, 'a');
            f.drive->addItem("cd", readOnly.at.path());
            f.drive->setCurrentIndex(f.drive->count() - 1);
            QTest::mouseClick(f.copiar, Qt::LeftButton);
            QCOMPARE(f.Proceso->value(), 0);
            QVERIFY2(
                p.fakes.messages.lastText().contains("El disco de destino es de solo lectura."),
                qPrintable(p.fakes.messages.lastText()));
            QVERIFY(!p.programa.ended());
        }
    }

    void copyIntoTheProgramsOwnFolder() {
        Portable p;
        p.fakes.paths.executable = p.data.path();
        Form8& f = p.form();
        QMap<QString, QByteArray> originals;
        const QStringList names = {"nodav.wav",    "tempix",           "LEAME.rtf",
                                   "LICENCIA.rtf", "tempix_help.html", "tempix-sound.so"};
        char seed = 'a';
        for (const QString& name : names) {
            originals[name] = bytes(seed++, 5000);
            put(p.data.filePath(name), originals[name]);
        }
        QVERIFY(choose(f, p.data.path()));
        QTest::mouseClick(f.copiar, Qt::LeftButton);
        QVERIFY2(p.fakes.messages.shown.isEmpty(), qPrintable(p.fakes.messages.lastText()));
        QCOMPARE(f.Proceso->value(), 100);
        QCOMPARE(f.aviso->caption(), "Listo!!!");
        for (const QString& name : names) {
            QVERIFY2(contentOf(p.data.filePath(name)) == originals[name], qPrintable(name));
        }
        // The documents get their copy's upper-case names beside the originals.
        QCOMPARE(contentOf(p.data.filePath("LEAME.RTF")), originals["LEAME.rtf"]);
        QCOMPARE(contentOf(p.data.filePath("LICENCIA.RTF")), originals["LICENCIA.rtf"]);
    }

    void nodaviaLabelOpensTheAboutWindow() {
        Portable p;
        Form8& f = p.form();
        f.show();
        QTest::mouseClick(f.Label2, Qt::LeftButton);
        QVERIFY(p.programa.loaded<Form5>());
        QVERIFY(p.programa.form5().isVisible());
        QVERIFY(!p.programa.form5().isModal());
        QVERIFY(f.isVisible());
    }
};

QTEST_MAIN(PortableTest)
#include "test_portable.moc"
