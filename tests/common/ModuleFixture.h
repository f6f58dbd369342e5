#pragma once

// The set-up of the data-module test classes: a fresh TestModule for each test
// function, with short names for its parts. A test class derives from it next
// to QObject, calls StartModule() in init() and StopModule() in cleanup().

#include "TestModule.h"

#include <memory>

class ModuleFixture {
protected:
    // A new module over the simulated unit in factory state; false when its
    // language store could not be loaded.
    bool StartModule()
    {
        m_test = std::make_unique<TestModule>();
        m_sim = m_test->sim;
        m_prompts = &m_test->prompts;
        m_module = &m_test->module;
        m_folder = &m_test->folder;
        return m_test->textsLoaded;
    }

    void StopModule()
    {
        m_sim = nullptr;
        m_prompts = nullptr;
        m_module = nullptr;
        m_folder = nullptr;
        m_test.reset();
    }

    std::unique_ptr<TestModule> m_test;
    SimUnitControl* m_sim = nullptr;
    FakePrompts* m_prompts = nullptr;
    TSerialDataModule* m_module = nullptr;
    QTemporaryDir* m_folder = nullptr;
};
