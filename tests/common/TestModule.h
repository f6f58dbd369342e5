#pragma once

// A data module for tests: the simulated unit in factory state, prompts that
// record and answer from a script, backups in a private folder, and a language store whose string i reads
// "T<i>", so a test sees which text a message used.

#include "FakePrompts.h"
#include "SimUnit.h"
#include "TestLanguageStore.h"
#include "model/SerialDataModule.h"
#include "support/Translator.h"

#include <QTemporaryDir>

struct TestModule {
    SimUnitControl* sim = FreshSimUnit();
    QTemporaryDir folder;
    FakePrompts prompts;
    TSerialDataModule module;
    bool textsLoaded = false;

    TestModule()
    {
        module.SetPrompts(&prompts);
        module.Backups().SetFolder(folder.filePath("backups"));
        textsLoaded = WriteTestLanguageStore(folder.path());
        module.Translator()->SetDllName(folder.filePath("Languages.dll"));
        textsLoaded = textsLoaded && module.Translator()->LoadLanguageLibrary();
    }
    ~TestModule() { module.SetPrompts(nullptr); }
};
