#pragma once

#include <thread>

// Reads the system's font configuration (fontconfig's rules and font caches,
// a few milliseconds) on a second thread, so that it is done while the
// toolkit connects to the display instead of at the first text drawn.
// Wait() returns once it has been read; the destructor waits too.
class TFontConfigLoader {
public:
    TFontConfigLoader();
    ~TFontConfigLoader();
    TFontConfigLoader(const TFontConfigLoader&) = delete;
    TFontConfigLoader& operator=(const TFontConfigLoader&) = delete;

    void Wait();

private:
    std::thread m_reader;
};
