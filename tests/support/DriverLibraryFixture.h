// A GoogleTest fixture base for the tests that call QVTDX5DA.DLL from build/win64/bin: the library
// is loaded once for the suite and freed after it. A suite with set-up of its own calls
// DriverLibraryTest::SetUpTestSuite() first. Header only: the support library itself does not use
// GoogleTest.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace qvtest {

class DriverLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { library_ = LoadLibraryA((BinDir() + "\\QVTDX5DA.DLL").c_str()); }
    static void TearDownTestSuite()
    {
        if (library_)
            FreeLibrary(library_);
        library_ = nullptr;
    }

    // An export of the loaded library; null when it is missing.
    template <class F>
    static F Export(const char* name)
    {
        return reinterpret_cast<F>(GetProcAddress(library_, name));
    }

    static inline HMODULE library_ = nullptr;
};

}  // namespace qvtest
