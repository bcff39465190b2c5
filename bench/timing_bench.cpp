// Figures of a running alert that need the whole program in one process:
//   growth   resident memory after 100,000 ticks minus after 1,000 (fake clock)
//   jitter   SECONDS of real time with the real tick counter and timer: the deviation of each
//            interval between ticks from 1000 ms, and how often the shown time did not go down
//            by exactly one second
// Prints name=value lines.

#include "app/form1.h"
#include "platform/linux/basic.h"
#include "testprogram.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

int growth() {
    TestProgram t;
    Form1& f = t.programa.form1();
    f.hh->setText(QStringLiteral("9999"));
    f.cmdIniciar1->click();
    auto run = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            t.fakes.ticks.advance(1000);
            f.tmrCronómetro1_Timer();
            t.fakes.tray.calls.clear();
        }
        QCoreApplication::processEvents();
    };
    run(1000);
    const long before = residentKb();
    run(99000);
    const long after = residentKb();
    std::printf("rss_growth_kb_100k_ticks=%ld\n", after - before);
    return 0;
}

int seconds(const QString& text) {
    const QStringList parts = text.split(u':');
    return parts.value(0).toInt() * 3600 + parts.value(1).toInt() * 60 + parts.value(2).toInt();
}

int jitter(int runSeconds) {
    // Real tick counter and timer; everything else fake.
    FakePlatform fakes;
    LinuxTicks ticks;
    Platform platform{ticks,       fakes.clock,  fakes.messages, fakes.power,     fakes.store,
                      fakes.tray,  fakes.opener, fakes.sound,    fakes.instances, fakes.paths,
                      fakes.files, fakes.app,    fakes.notifier, fakes.screenLock};
    Programa programa(platform);
    Form1& f = programa.form1();
    f.ss->setText(QString::number(runSeconds + 30));
    f.cmdIniciar1->click();

    QElapsedTimer clock;
    clock.start();
    std::vector<double> at;
    std::vector<int> shown;
    QObject::connect(f.tmrCronómetro1, &QTimer::timeout, [&] {
        at.push_back(clock.nsecsElapsed() / 1e6);
        shown.push_back(seconds(f.lblTiempo1->caption()));
        fakes.tray.calls.clear();
    });
    QTimer::singleShot(runSeconds * 1000 + 500, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();

    std::vector<double> deviation;
    int skippedOrRepeated = 0;
    for (size_t i = 1; i < at.size(); ++i) {
        deviation.push_back(std::fabs(at[i] - at[i - 1] - 1000.0));
        if (shown[i] != shown[i - 1] - 1) {
            ++skippedOrRepeated;
        }
    }
    std::sort(deviation.begin(), deviation.end());
    const double p99 = deviation.empty()
                           ? -1
                           : deviation[std::min(deviation.size() - 1,
                                                static_cast<size_t>(deviation.size() * 0.99))];
    std::printf("ticks=%zu\ntick_jitter_ms_p99=%.3f\nskipped_or_repeated=%d\n", at.size(), p99,
                skippedOrRepeated);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == u"growth") {
        return growth();
    }
    if (args.value(1) == u"jitter") {
        return jitter(args.value(2, QStringLiteral("60")).toInt());
    }
    std::fprintf(stderr, "usage: tempix_timing_bench growth | jitter [SECONDS]\n");
    return 2;
}
