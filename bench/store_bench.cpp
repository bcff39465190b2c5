// What one save of the alert costs as the settings file grows with values of other programs:
// for 0 to 100,000 unrelated keys, the milliseconds of a save through the real store (median of
// several), and what the file's reading and writing alone cost. Prints name=value lines; the
// cost per key is the difference between the largest and the empty file over the keys.
//   tempix_store_bench [SAVES]

#include "platform/linux/store.h"
#include "platform/linux/textsformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");

double medianMs(int runs, const std::function<void(int)>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        run(i);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    const int saves = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString file = LinuxStore::settingsFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    double emptySave = 0;
    for (const int keys : {0, 1000, 10000, 100000}) {
        QByteArray bytes = "[General]\nhh=1\nmm=30\nss=0\nBlockPass=616263\nTextPerson=hola\n";
        if (keys > 0) {
            bytes += "[Otro]\n";
            for (int k = 0; k < keys; ++k) {
                bytes += "clave" + QByteArray::number(k) + "=valor de otro programa " +
                         QByteArray::number(k) + '\n';
            }
        }
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(bytes) != bytes.size()) {
            return 1;
        }
        out.close();
        LinuxStore store;
        const double save = medianMs(saves, [&](int i) {
            store.write({{kUserKey + QStringLiteral("hh"), QString::number(i)},
                         {kUserKey + QStringLiteral("mm"), QStringLiteral("30")},
                         {kUserKey + QStringLiteral("ss"), QStringLiteral("0")},
                         {kUserKey + QStringLiteral("BlockPass"), QStringLiteral("616263")},
                         {kUserKey + QStringLiteral("TextPerson"), QStringLiteral("hola")}});
        });
        QSettings::SettingsMap map;
        const double parse = medianMs(saves, [&](int) { map = textsFileValues(bytes); });
        const double write = medianMs(saves, [&](int) { (void)textsFileContents(map); });
        const double read = medianMs(saves, [&](int) { (void)store.read(kUserKey + "hh"); });
        std::printf("keys=%d bytes=%lld save_ms=%.1f parse_ms=%.1f write_ms=%.1f read_ms=%.1f\n",
                    keys, static_cast<long long>(bytes.size()), save, parse, write, read);
        if (keys == 0) {
            emptySave = save;
        } else if (keys == 100000) {
            std::printf("per_key_us=%.2f\n", (save - emptySave) * 1000 / keys);
        }
    }
    return 0;
}
