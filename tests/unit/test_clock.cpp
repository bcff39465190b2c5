#include "countdown/cronometro.h"
#include "fakeplatform.h"

#include <QTest>

#include <limits>

class ClockTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countdownStartsAtItsLengthAndGoesBelowZero() {
        FakeTicks ticks;
        ticks.now = 5'000'999;  // late in a system second
        clsCronómetro clock(ticks);
        clock.EstablecerTiempo(10);
        QCOMPARE(clock.ObtenerTiempo(), 10);
        ticks.advance(1);  // the next system second comes after 1 ms
        QCOMPARE(clock.ObtenerTiempo(), 9);
        ticks.advance(9'000);
        QCOMPARE(clock.ObtenerTiempo(), 0);
        ticks.advance(10'000);
        QCOMPARE(clock.ObtenerTiempo(), -10);
    }

    void eachReadingIsTruncatedOnItsOwn() {
        FakeTicks ticks;
        ticks.now = 1'999;
        clsCronómetro clock(ticks);
        clock.EstablecerLibre(0);
        QCOMPARE(clock.Referencia(), 1);
        ticks.now = 2'000;
        QCOMPARE(clock.ObtenerTiempoLibre(), 1);
        ticks.now = 2'998;
        QCOMPARE(clock.ObtenerTiempoLibre(), 1);
    }

    void freezeCreditsTheFrozenInterval() {
        FakeTicks ticks;
        clsCronómetro clock(ticks);
        clock.EstablecerTiempo(50);
        clock.CongelarTiempo();
        ticks.advance(7'000);
        QCOMPARE(clock.ObtenerTiempo(), 43);  // readings move while frozen
        clock.ReanudarTiempo();
        QCOMPARE(clock.ObtenerTiempo(), 50);
        ticks.advance(1'000);
        QCOMPARE(clock.ObtenerTiempo(), 49);
        // Setting the count clears the credit but keeps the freeze instant.
        const std::int32_t frozenAt = clock.InicioCongelado();
        clock.EstablecerTiempo(5);
        QCOMPARE(clock.TiempoCongelado(), 0);
        QCOMPARE(clock.InicioCongelado(), frozenAt);
    }

    void resumeWithoutFreezeCreditsTheWholeSecond() {
        FakeTicks ticks;
        ticks.now = 123'456;
        clsCronómetro clock(ticks);
        clock.EstablecerTiempo(10);
        clock.ReanudarTiempo();
        QCOMPARE(clock.ObtenerTiempo(), 10 + 123);
        clock.ReanudarTiempo();  // twice: credited twice
        QCOMPARE(clock.ObtenerTiempo(), 10 + 2 * 123);
    }

    void addTimeMovesTheReference() {
        FakeTicks ticks;
        clsCronómetro countdown(ticks);
        countdown.EstablecerTiempo(5);
        countdown.AgregarTiempo(30);
        QCOMPARE(countdown.ObtenerTiempo(), 35);
        clsCronómetro free(ticks);
        free.EstablecerLibre(40);
        free.AgregarTiempo(30);
        QCOMPARE(free.ObtenerTiempoLibre(), 10);
        free.EstablecerLibre(-3);
        QCOMPARE(free.ObtenerTiempoLibre(), -3);
    }

    void overflowRaisesAndKeepsTheField() {
        FakeTicks ticks;
        ticks.now = 100'000;
        clsCronómetro clock(ticks);
        clock.EstablecerTiempo(10);
        const std::int32_t before = clock.Referencia();
        QVERIFY_THROWS_EXCEPTION(ClockOverflow,
                                 clock.AgregarTiempo(std::numeric_limits<std::int32_t>::max()));
        QCOMPARE(clock.Referencia(), before);
        clock.CongelarTiempo();
        QVERIFY_THROWS_EXCEPTION(ClockOverflow,
                                 clock.EstablecerTiempo(std::numeric_limits<std::int32_t>::max()));
        QCOMPARE(clock.Referencia(), before);
        QCOMPARE(clock.TiempoCongelado(), 0);  // already cleared when the addition failed
        QVERIFY_THROWS_EXCEPTION(ClockOverflow,
                                 clock.EstablecerLibre(std::numeric_limits<std::int32_t>::min()));
    }

    void longUptimeDoesNotWrap() {
        // Past 24.9 days a 32-bit millisecond counter would turn negative.
        FakeTicks ticks;
        ticks.now = 30LL * 24 * 3600 * 1000;
        clsCronómetro clock(ticks);
        clock.EstablecerTiempo(60);
        ticks.advance(59'000);
        QCOMPARE(clock.ObtenerTiempo(), 1);
        ticks.advance(1'000);
        QCOMPARE(clock.ObtenerTiempo(), 0);
    }
};

QTEST_APPLESS_MAIN(ClockTest)
#include "test_clock.moc"
