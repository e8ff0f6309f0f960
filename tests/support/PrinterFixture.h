// A GoogleTest fixture on one test printer of a test driver of its own: the driver and the printer
// are set up once for the suite, and the printer is opened with full access for each test and
// closed after it. Header only: the support library itself does not use GoogleTest.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace qvtest {

template <const char* Driver, const char* Printer>
class TestPrinterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ready_ = InstallTestDriver(Driver) &&
                 (AddTestPrinter(Printer, Driver) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    }
    void SetUp() override
    {
        ASSERT_TRUE(ready_) << "test printer could not be set up";
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterA(const_cast<char*>(Printer), &printer_, &defaults))
            << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (printer_)
            ClosePrinter(printer_);
    }

    static inline bool ready_ = false;
    HANDLE printer_ = nullptr;
};

}  // namespace qvtest
