#pragma once

// A clock of whole seconds read from the tick counter: a countdown (seconds until a deadline)
// or a free count (seconds since a start), which can be frozen and resumed. It only answers
// when asked.

#include <cstdint>
#include <stdexcept>

class TickCounter;

// An addition or subtraction of the clock did not fit in 32 bits.
class ClockOverflow : public std::overflow_error {
public:
    ClockOverflow() : std::overflow_error("clock overflow") {}
};

class clsCronómetro {
public:
    explicit clsCronómetro(TickCounter& ticks) : ticks_(ticks) {}

    void EstablecerTiempo(const std::int32_t& n);
    void EstablecerLibre(const std::int32_t& n);
    void AgregarTiempo(const std::int32_t& n);
    std::int32_t ObtenerTiempo() const;
    std::int32_t ObtenerTiempoLibre() const;
    void CongelarTiempo();
    void ReanudarTiempo();

    std::int32_t Referencia() const { return Referencia_; }
    std::int32_t TiempoCongelado() const { return TiempoCongelado_; }
    std::int32_t InicioCongelado() const { return InicioCongelado_; }

private:
    // The system second: the tick counter's milliseconds divided by 1000, truncated.
    std::int32_t systemSecond() const;
    static std::int32_t Entero(double value);

    TickCounter& ticks_;
    std::int32_t Referencia_ = 0;
    std::int32_t TiempoCongelado_ = 0;
    std::int32_t InicioCongelado_ = 0;
};
