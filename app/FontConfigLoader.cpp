#include "app/FontConfigLoader.h"

#include <fontconfig/fontconfig.h>

// fontconfig keeps the configuration it reads for the whole process: the
// toolkit's font database, made later on the main thread, finds it ready.
TFontConfigLoader::TFontConfigLoader() : m_reader([] { FcInit(); }) {}

TFontConfigLoader::~TFontConfigLoader()
{
    Wait();
}

void TFontConfigLoader::Wait()
{
    if (m_reader.joinable())
        m_reader.join();
}
