// A frame console installed over fakes: the console window "Input/Output" in slot 0, a
// scripted pump playing the user, and fresh console units. The default hooks come back
// when the fixture goes.
#pragma once

#include <string>

#include "console/frame_console.hpp"
#include "console_fakes.hpp"
#include "test_support.hpp"

namespace corvane::testing {

struct FrameFixture {
    ScriptedPump pump;
    FakeFrameHost host;
    console::FrameConsole frame{pump, host};
    console::TextWindow* console_window = nullptr;

    FrameFixture() {
        drop_console_units();
        frame.start();
        console_window = &host.make_window();
        frame.attach_console(*console_window);
    }
    ~FrameFixture() { drop_console_units(); }

    // While a read waits in `window`, the user types `keys` (and nothing more).
    void answer_with(std::string keys, console::TextWindow* window = nullptr) {
        console::TextWindow* w = window ? window : console_window;
        pump.on_idle = [w, keys, done = false](ScriptedPump& p) mutable {
            if (done || !w->state().reading_line) return;
            done = true;
            p.post([w, keys] {
                for (char c : keys) w->character(static_cast<unsigned char>(c));
            });
        };
    }
};

}  // namespace corvane::testing
