// A record list kept as a binary printer value: read whole when opened, written back whole on
// close when it changed. Reads and writes go through the serialised spooler wrappers.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "RecordList.h"

// The lists of the driver, by value name.
inline constexpr char kWatermarkList[] = "Watermark";
inline constexpr char kUserFormList[] = "UserDefForms";
inline constexpr char kFormAssociationList[] = "UserAssocForms";
inline constexpr char kMacroList[] = "Macro";
inline constexpr char kSoftFontList[] = "SoftFont";

// Keys every list shares.
inline constexpr std::int16_t kKeyNumber = 1;
inline constexpr std::int16_t kKeyName = 2;

class PrinterList {
public:
    // Null when the printer cannot be opened or the value cannot be read in full; a value that
    // does not exist yet opens as an empty list. The stored value is never changed by a failed
    // read: a passing size race must not cost the user the list.
    static std::unique_ptr<PrinterList> Open(const std::string& printerName, const std::string& valueName);
    // Writes back when changed (ignoring the result): Close says whether that worked.
    ~PrinterList();
    PrinterList(const PrinterList&) = delete;
    PrinterList& operator=(const PrinterList&) = delete;

    // Writes the list back when it changed; an empty list is written as an empty value. False
    // when the printer could not be opened for writing or the spooler refused the value.
    bool Close();

    // Drops the list without writing it back, whatever changed.
    void Discard() { closed_ = true; }

    recordlist::RecordList& Records() { return records_; }
    const std::string& PrinterName() const { return printerName_; }
    const std::string& ValueName() const { return valueName_; }

    // Moves to the first record whose number field equals number (rewinding first).
    bool FindNumber(std::int16_t number);
    // Moves to the first record whose name equals name without regard to case.
    bool FindName(const std::string& name);

private:
    PrinterList(std::string printerName, std::string valueName, std::vector<std::uint8_t> bytes);

    std::string printerName_;
    std::string valueName_;
    recordlist::RecordList records_;
    bool closed_ = false;
};

// The user-defined form list (paper codes 512 to 519).
struct UserForm {
    std::int16_t number = 0;  // 0: the first free number
    std::string name;
    std::uint16_t values[4] = {};     // keys 3 to 6: width, length, flags, reserved
    std::uint8_t paperInfo[32] = {};  // key 7: four quadruples of 16-bit values
};
inline constexpr std::int16_t kFirstUserForm = 512;
inline constexpr std::int16_t kLastUserForm = 519;
// The form a new user-defined form starts from.
inline constexpr std::int16_t kTemplateUserForm = 768;
// Keys of a user-defined form record: the four values are its width and length (1/1200 inch),
// its flags and a reserved word; the block holds its four printable areas (width, length,
// origin x and y each).
inline constexpr std::int16_t kUserFormWidthKey = 3;
inline constexpr std::int16_t kUserFormLengthKey = 4;
inline constexpr std::int16_t kUserFormFlagsKey = 5;
inline constexpr std::int16_t kUserFormAreasKey = 7;

// The form association list (paper codes 640 to 671): key 3 holds the paper the association
// stands for.
inline constexpr std::int16_t kFirstAssociation = 640;
inline constexpr std::int16_t kLastAssociation = 671;
inline constexpr std::int16_t kAssociationPaperKey = 3;

// Adds or replaces a user-defined form: the record with its number and any with its name (any
// case) give way to it. Without a name, deletes the record of that number instead. False when
// all eight numbers are taken, the number is outside 512 to 519, or the list cannot be read or
// written.
bool AddUserForm(const std::string& printerName, const UserForm& form);

// A generic named list: (number, name) records. With data, the name is its first 64 bytes as
// upper-case hexadecimal text. A number of 0 or below is refused.
bool AddNamedRecord(const std::string& printerName, const std::string& valueName, std::int16_t number,
                    const std::string& name, const std::uint8_t* data = nullptr, std::size_t dataLength = 0);

// The narrow name of a user-defined form (512 to 519) or a form association (640 to 671) from the
// printer's lists; empty for any other code, a code without a record, or a list that cannot be
// read.
std::string FormNameOf(const std::string& printerName, std::int16_t paperCode);

// Whether a paper code that names a form is one the printer has: 640 to 671 in the association
// list, other codes below 896 in the user-defined list. Codes of 896 and above are the spooler's
// own forms, which the caller answers.
bool IsListedFormCode(const std::string& printerName, std::int16_t paperCode);
