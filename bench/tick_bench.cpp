// The cost of one tick of a running alert: label, stopwatch copy and tray refresh, on the real
// main window with fake services.

#include "app/form1.h"
#include "app/form2.h"
#include "testprogram.h"

#include <benchmark/benchmark.h>
#include <QApplication>

namespace {

void BM_Tick(benchmark::State& state) {
    TestProgram t;
    Form1& f = t.programa.form1();
    f.hh->setText(QStringLiteral("9999"));
    f.cmdIniciar1->click();
    for (auto _ : state) {
        t.fakes.ticks.advance(1000);
        f.tmrCronómetro1_Timer();
        // The fake tray keeps every call: forget them, as the real one does.
        t.fakes.tray.calls.clear();
    }
    benchmark::DoNotOptimize(t.programa.form2().lblTiempo1->caption());
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
