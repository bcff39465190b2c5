#pragma once

// The program object: owns the platform services and at most one object of each window.
// Referring to a window that is not loaded loads it hidden, which runs its Load handling.

#include "platform/services.h"

#include <memory>
#include <tuple>

class Form;
class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form7;
class Form8;
class Form9;
class Form10;
class Form11;

class Programa {
public:
    explicit Programa(Platform& platform);
    ~Programa();
    Programa(const Programa&) = delete;
    Programa& operator=(const Programa&) = delete;

    Platform& platform;

    // Loads the main window and shows it unless its load minimised it or ended the program.
    void start();

    Form1& form1() { return window<Form1>(); }
    Form2& form2() { return window<Form2>(); }
    Form3& form3() { return window<Form3>(); }
    Form4& form4() { return window<Form4>(); }
    Form5& form5() { return window<Form5>(); }
    Form7& form7() { return window<Form7>(); }
    Form8& form8() { return window<Form8>(); }
    Form9& form9() { return window<Form9>(); }
    Form10& form10() { return window<Form10>(); }
    Form11& form11() { return window<Form11>(); }

    template <class F>
    F& window();
    template <class F>
    bool loaded() const;
    // Runs the window's unload handling and destroys it once the current event has returned.
    // Does nothing when the window is not loaded.
    template <class F>
    void unload();
    void unload(Form* form);

    // Ends the program at once: no window runs its unload handling any more.
    void end();
    bool ended() const { return ended_; }

private:
    struct Deleter {
        void operator()(Form* form) const;
    };
    template <class F>
    using Slot = std::unique_ptr<F, Deleter>;

    std::tuple<Slot<Form1>, Slot<Form2>, Slot<Form3>, Slot<Form4>, Slot<Form5>, Slot<Form7>,
               Slot<Form8>, Slot<Form9>, Slot<Form10>, Slot<Form11>>
        windows_;
    bool ended_ = false;
    bool destroying_ = false;
};
