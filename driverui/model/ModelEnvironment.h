// The configuration engine's view of one printer model: its tray list, for the paper-source
// data, and its print modes, for finishing a read; and of the system around it: the names of the
// printer's forms and the ANSI code page. Built from the model's resources as they are (a damaged
// or missing resource counts as none). No platform headers; ModelResources.h builds one from
// QVTDX5DA's resources and the printer's record lists.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "CfgEngine.h"
#include "ModelLayout.h"

namespace model {

class ModelEnvironment : public ConfigEnvironment {
public:
    ModelEnvironment() = default;
    // The bytes of the model's tray list (type 259) and print modes (type 264).
    ModelEnvironment(std::span<const std::uint8_t> trayList, std::span<const std::uint8_t> printModes);

    std::span<const TrayKey> Trays() const override { return trays_; }
    // The model's part of finishing a read: the print-mode bytes (ReconcilePrintModes).
    void FinishRead(std::span<std::uint8_t> devmode) override;
    std::string FormName(std::int32_t paperCode) const override;
    std::uint32_t AnsiCodePage() const override { return codePage_; }

    std::span<const PrintModeEntry> PrintModes() const { return modes_; }

    // Where the names of the printer's forms come from (the Win32 edge reads the record lists);
    // without a source no form has a name.
    using FormNameSource = std::function<std::string(std::int32_t paperCode)>;
    void SetFormNames(FormNameSource source) { formNames_ = std::move(source); }
    void SetAnsiCodePage(std::uint32_t codePage) { codePage_ = codePage; }

private:
    std::vector<TrayKey> trays_;
    std::vector<PrintModeEntry> modes_;
    FormNameSource formNames_;
    std::uint32_t codePage_ = 0;
};

// Devmode bytes of the print mode.
inline constexpr std::size_t kPrintMode233 = 233;
inline constexpr std::size_t kPrintMode234 = 234;

// Brings the bytes 233 and 234 onto the model's print modes at the devmode's print quality (a
// record allows a quality up to its maximum resolution):
// 1. a record holding both bytes that allows the quality keeps them;
// 2. else byte 234 is reconciled: the first record with byte 233 that allows the quality gives
//    234 (the user's choice at 233 survives a change of quality);
// 3. else both bytes are reset from the first record.
// No records, or a devmode too short to hold the bytes, change nothing.
void ReconcilePrintModes(std::span<std::uint8_t> devmode, std::span<const PrintModeEntry> modes);

}  // namespace model
