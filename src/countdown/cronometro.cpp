#include "countdown/cronometro.h"

#include "platform/services.h"

#include <cmath>
#include <limits>

namespace {

std::int32_t add(std::int32_t a, std::int32_t b) {
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) {
        throw ClockOverflow();
    }
    return r;
}

std::int32_t sub(std::int32_t a, std::int32_t b) {
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) {
        throw ClockOverflow();
    }
    return r;
}

}  // namespace

std::int32_t clsCronómetro::Entero(double value) {
    const double t = std::trunc(value);
    if (!(t >= std::numeric_limits<std::int32_t>::min() &&
          t <= std::numeric_limits<std::int32_t>::max())) {
        throw ClockOverflow();
    }
    return static_cast<std::int32_t>(t);
}

std::int32_t clsCronómetro::systemSecond() const {
    // The counter is 64-bit boot time: it does not wrap, and its seconds fit in 32 bits for
    // decades of uptime.
    return Entero(static_cast<double>(ticks_.milliseconds()) / 1000.0);
}

void clsCronómetro::EstablecerTiempo(const std::int32_t& n) {
    TiempoCongelado_ = 0;
    Referencia_ = add(systemSecond(), n);
}

void clsCronómetro::EstablecerLibre(const std::int32_t& n) {
    TiempoCongelado_ = 0;
    Referencia_ = sub(systemSecond(), n);
}

void clsCronómetro::AgregarTiempo(const std::int32_t& n) {
    Referencia_ = Entero(add(Referencia_, n));
}

std::int32_t clsCronómetro::ObtenerTiempo() const {
    return add(sub(Referencia_, systemSecond()), TiempoCongelado_);
}

std::int32_t clsCronómetro::ObtenerTiempoLibre() const {
    return sub(sub(systemSecond(), Referencia_), TiempoCongelado_);
}

void clsCronómetro::CongelarTiempo() {
    InicioCongelado_ = systemSecond();
}

void clsCronómetro::ReanudarTiempo() {
    TiempoCongelado_ = sub(add(TiempoCongelado_, systemSecond()), InicioCongelado_);
}
