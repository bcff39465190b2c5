// A hand-edited Tempix.conf: any bytes in the settings file, then the real store reads it and
// the main window's and the Options window's loads run on it (fake services otherwise).

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

#include <fcntl.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString settingsFile;
std::int64_t writes = 0;

void fail(const char* what) {
    std::fprintf(stderr, "store: %s\n", what);
    std::abort();
}

// QSettings re-reads a file when its size or time changed: every input gets a time of its own.
void writeSettings(const std::uint8_t* data, std::size_t size) {
    QFile file(settingsFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        fail("cannot write the settings file");
    }
    file.close();
    // A hand-edited file keeps the mode the program gave it.
    QFile::setPermissions(settingsFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ++writes;
    const timespec times[2] = {{1'000'000'000 + writes, 0}, {1'000'000'000 + writes, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(settingsFile).constData(), times, 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char base[] = "/tmp/tempix-fuzz-store-XXXXXX";
    if (!::mkdtemp(base)) {
        fail("no temporary folder");
    }
    // Before anything asks QStandardPaths: the store must live in the temporary folder.
    ::setenv("XDG_CONFIG_HOME", base, 1);
    ::setenv("HOME", base, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz_store";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // lives as long as the process
    (void)app;
    settingsFile = LinuxStore::settingsFile();
    if (!settingsFile.startsWith(QString::fromLatin1(base))) {
        fail("settings file outside the temporary folder");
    }
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Whatever the format reads, it writes back so that it reads the same, written the same.
    const auto read = textsFileValues(QByteArrayView(data, qsizetype(size)));
    const QByteArray written = textsFileContents(read);
    if (textsFileValues(written) != read ||
        textsFileContents(textsFileValues(written)) != written) {
        fail("a value changed when written back");
    }
    writeSettings(data, size);
    LinuxStore store;
    const auto stored = [&](const char* name) {
        return store.read(userValue(QString::fromLatin1(name)));
    };
    const auto hh = stored("hh");
    const auto mm = stored("mm");
    const auto ss = stored("ss");
    const auto blockPass = stored("BlockPass");
    {
        FakePlatform fakes;
        Platform platform{fakes.ticks, fakes.clock,  fakes.messages, fakes.power,     store,
                          fakes.tray,  fakes.opener, fakes.sound,    fakes.instances, fakes.paths,
                          fakes.files, fakes.app,    fakes.notifier, fakes.screenLock};
        Programa programa(platform);
        programa.start();
        if (programa.ended() || fakes.app.quits != 0) {
            fail("the program ended at load");
        }
        Form1& f = programa.form1();
        // The store's texts go into the fields unchanged; a password that does not decode
        // leaves none.
        if (f.hh->text() != hh.value_or(QString()) || f.mm->text() != mm.value_or(QString()) ||
            f.ss->text() != ss.value_or(QString())) {
            fail("a time field differs from the store");
        }
        const auto decoded = DecodificaPass(blockPass.value_or(QString()));
        if (f.Pass->text() != decoded.value_or(QString())) {
            fail("the password field differs from the stored password");
        }
        Form7& options = programa.form7();
        for (CheckBox* box : options.findChildren<CheckBox*>()) {
            if (box->value() < 0 || box->value() > 2) {
                fail("a check box outside its three states");
            }
        }
        // The file is writable: no save or option may have failed.
        if (!fakes.messages.shown.isEmpty()) {
            std::fprintf(stderr, "message: %s\n",
                         fakes.messages.shown.first().text.toUtf8().constData());
            fail("a message at load");
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // What the loads wrote back kept the saved alert's times (a save writes the fields, which
    // hold the stored texts).
    const auto keeps = [](const std::optional<QString>& before,
                          const std::optional<QString>& after) {
        return after == before || (!before && after == QString());
    };
    if (!keeps(hh, stored("hh")) || !keeps(mm, stored("mm")) || !keeps(ss, stored("ss"))) {
        fail("the stored alert changed at load");
    }
    struct stat st {};
    if (::stat(QFile::encodeName(settingsFile).constData(), &st) == 0 && (st.st_mode & 077)) {
        fail("settings file readable by others");
    }
    return 0;
}
