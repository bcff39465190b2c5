#include "programa.h"

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "lock/form10.h"
#include "lock/form4.h"
#include "lock/form9.h"
#include "portable/form8.h"
#include "schedule/form11.h"
#include "settings/form7.h"

Programa::Programa(Platform& p) : platform(p) {}

Programa::~Programa() {
    destroying_ = true;
    // Secondary windows first: the main window's controls may be read while they go.
    std::apply([](auto&... slot) { ((slot ? (delete slot.release(), 0) : 0), ...); }, windows_);
}

void Programa::Deleter::operator()(Form* form) const {
    form->hide();
    form->deleteLater();
}

void Programa::start() {
    Form1& main = form1();
    if (!ended_ && loaded<Form1>() && !main.isMinimized()) {
        main.show();
    }
}

template <class F>
F& Programa::window() {
    auto& slot = std::get<Slot<F>>(windows_);
    if (!slot) {
        // Stored before the load runs: the load may refer to its own window.
        slot.reset(new F(*this));
        // If the load unloads its own window, the object lives on until the event returns.
        F* form = slot.get();
        form->Form_Load();
        return *form;
    }
    return *slot;
}

template <class F>
bool Programa::loaded() const {
    return static_cast<bool>(std::get<Slot<F>>(windows_));
}

template <class F>
void Programa::unload() {
    auto& slot = std::get<Slot<F>>(windows_);
    if (!slot || ended_) {
        return;
    }
    F* form = slot.get();
    form->Form_Unload();
    // The unload handling may have ended the program, which keeps every window until it goes.
    if (std::get<Slot<F>>(windows_).get() == form && !ended_) {
        slot.reset();
    }
}

void Programa::unload(Form* form) {
    std::apply(
        [&](auto&... slot) {
            (
                [&] {
                    using F = typename std::decay_t<decltype(slot)>::element_type;
                    if (slot.get() == form) {
                        unload<F>();
                    }
                }(),
                ...);
        },
        windows_);
}

void Programa::end() {
    if (ended_) {
        return;
    }
    ended_ = true;
    std::apply([](auto&... slot) { ((slot ? (slot->hide(), 0) : 0), ...); }, windows_);
    platform.app.quit();
}

#define TEMPIX_WINDOW(F)                       \
    template F& Programa::window<F>();         \
    template bool Programa::loaded<F>() const; \
    template void Programa::unload<F>();
TEMPIX_WINDOW(Form1)
TEMPIX_WINDOW(Form2)
TEMPIX_WINDOW(Form3)
TEMPIX_WINDOW(Form4)
TEMPIX_WINDOW(Form5)
TEMPIX_WINDOW(Form7)
TEMPIX_WINDOW(Form8)
TEMPIX_WINDOW(Form9)
TEMPIX_WINDOW(Form10)
TEMPIX_WINDOW(Form11)
#undef TEMPIX_WINDOW
