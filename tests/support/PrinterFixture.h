// Test printers for GoogleTest: the printers one test adds (closed and deleted at its end), and a
// fixture on one test printer of a test driver of its own (set up once for the suite, opened with
// full access for each test and closed after it). Header only: the support library itself does
// not use GoogleTest.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace qvtest {

// Printers added for one test, deleted (with their handles closed) when it ends.
class TestPrinters {
public:
    TestPrinters() = default;
    TestPrinters(const TestPrinters&) = delete;
    TestPrinters& operator=(const TestPrinters&) = delete;
    ~TestPrinters()
    {
        for (HANDLE h : opened_)
            ClosePrinter(h);
        for (const std::string& name : names_)
            DeleteTestPrinter(name);
    }

    // A new printer of the test driver.
    std::string Add(const std::string& driver, const std::string& name)
    {
        EXPECT_TRUE(AddTestPrinter(name, driver)) << name << ": error " << GetLastError();
        names_.push_back(name);
        return name;
    }
    // The printer opened with full access; closed when the test ends.
    HANDLE Open(const std::string& name)
    {
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE h = nullptr;
        EXPECT_TRUE(OpenPrinterA(const_cast<char*>(name.c_str()), &h, &defaults)) << GetLastError();
        if (h)
            opened_.push_back(h);
        return h;
    }

    std::size_t Count() const { return names_.size(); }
    const std::string& Last() const { return names_.back(); }

private:
    std::vector<std::string> names_;
    std::vector<HANDLE> opened_;
};

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
