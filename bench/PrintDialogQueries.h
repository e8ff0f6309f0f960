// The capability queries the platform's print dialogs make for a printer of ours, as
// record_print_dialog recorded them under Wine 8.0 (comdlg32) on 2026-12-10: each query with
// whether it passed an output buffer. Every one passed the dialog's devmode and no printer handle,
// only the device name. PrintDlgW and PrintDlgExW ask none (their general page shows no papers or
// trays); each dialog also asks twice for the document defaults (DocumentPropertiesW without a
// handle), which are not replayed here.
#pragma once

#include <windows.h>

namespace bench {

struct DialogQuery {
    WORD index;
    bool output;
};

// PrintDlgW with PD_PRINTSETUP: the paper and tray lists, each counted, then filled.
inline constexpr DialogQuery kPrintSetupQueries[] = {
    {DC_PAPERNAMES, false}, {DC_PAPERS, false}, {DC_PAPERNAMES, true}, {DC_PAPERS, true},
    {DC_BINNAMES, false},   {DC_BINS, false},   {DC_BINNAMES, true},   {DC_BINS, true},
};

// PageSetupDlgW: the same, then the papers again and their sizes.
inline constexpr DialogQuery kPageSetupQueries[] = {
    {DC_PAPERNAMES, false}, {DC_PAPERS, false}, {DC_PAPERNAMES, true}, {DC_PAPERS, true},
    {DC_BINNAMES, false},   {DC_BINS, false},   {DC_BINNAMES, true},   {DC_BINS, true},
    {DC_PAPERS, false},     {DC_PAPERS, true},  {DC_PAPERSIZE, true},
};

}  // namespace bench
