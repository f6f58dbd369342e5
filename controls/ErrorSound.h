#pragma once

// The system's error sound, played when a control refuses what the user typed.
// Tests replace the handler to observe the sound without hearing it.

#include <functional>

class TErrorSound {
public:
    using Handler = std::function<void()>;

    // Plays the error sound through the current handler.
    static void Play();
    // Replaces the handler and answers the previous one; an empty handler
    // restores the system's sound.
    static Handler SetHandler(Handler handler);
};
