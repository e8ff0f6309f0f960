// The spooler records the engine walks by stride. The shipped build is 32-bit: pin the layouts it
// relies on, so a header or packing change shows at compile time rather than as garbage names.
#pragma once

#include <windows.h>

#include <cstddef>

#ifndef _WIN64
static_assert(sizeof(DRIVER_INFO_3A) == 40);
static_assert(sizeof(DRIVER_INFO_6A) == 80);
static_assert(offsetof(DRIVER_INFO_6A, pName) == 4);
static_assert(offsetof(DRIVER_INFO_6A, pHelpFile) == 24);
static_assert(offsetof(DRIVER_INFO_6A, dwlDriverVersion) == 56);
static_assert(sizeof(PRINTER_INFO_2A) == 84);
static_assert(offsetof(PRINTER_INFO_2A, pPrinterName) == 4);
static_assert(offsetof(PRINTER_INFO_2A, pDriverName) == 16);
#endif

// A level-6 record begins with the fields of a level-3 one, so both read through the same view.
static_assert(offsetof(DRIVER_INFO_6A, pHelpFile) == offsetof(DRIVER_INFO_3A, pHelpFile));
static_assert(offsetof(DRIVER_INFO_6A, pDefaultDataType) == offsetof(DRIVER_INFO_3A, pDefaultDataType));
