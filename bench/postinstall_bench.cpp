// A run of the post-install utility on the sample package against plain CopyFileA of the
// package's files: what the script's work costs beyond moving the bytes.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "FileFixtures.h"
#include "TestSupport.h"

namespace {

constexpr int kRepetitions = 5;

bool CopyFolder(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    for (const std::string& name : qvtest::NamesIn(from))
        if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            return false;
    return true;
}

}  // namespace

int main()
{
    const char driver[] = "Qelbrin QV-5 PCL";
    const std::string printer = "QV bench post-install";
    if (!qvtest::InstallTestDriver(driver) || !qvtest::AddTestPrinter(printer, driver)) {
        std::printf("the printer could not be added\n");
        return 1;
    }
    const std::string package = qvtest::BinDir() + "\\..\\package";
    qvtest::TempDir work;
    int run = 0;
    std::vector<std::string> folders;
    auto freshCopy = [&] {
        folders.push_back(work.Path() + "\\pkg" + std::to_string(run++));
        CopyFolder(package, folders.back());
        return folders.back();
    };

    // Each run gets its own copy: the script deletes some of its package files.
    std::vector<std::string> runFolders;
    for (int i = 0; i < kRepetitions; ++i)
        runFolders.push_back(freshCopy());
    int next = 0;
    const std::string utility = "\"" + qvtest::BinDir() + "\\QVTDX5PI.EXE\" -s -i qv5setup.inf -d QVTDX5DA.DLL -p LPT1: -n \"" +
                                printer + "\"";
    const double runTime = bench::MedianMicros(kRepetitions, [&] { qvtest::RunProcess(utility, runFolders[next++]); });

    int copies = 0;
    const double copyTime = bench::MedianMicros(kRepetitions, [&] {
        const std::string to = work.Path() + "\\copy" + std::to_string(copies++);
        CopyFolder(package, to);
    });
    std::printf("Post-install run of the sample package against copying its files (median of %d)\n", kRepetitions);
    bench::Report("QVTDX5PI.EXE on the sample package", runTime, "CopyFileA of the package files", copyTime);
    qvtest::DeleteTestPrinter(printer);
    return 0;
}
