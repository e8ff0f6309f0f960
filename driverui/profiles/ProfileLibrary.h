// The client of the profile library QVTDX5PU.DLL. Every call loads the library (from QVTDX5DA's
// directory, else by its bare name), calls one export and frees it again, so the library is never
// held between operations. A missing library or export shows the warning box (by the notice
// route of the calling process) and reports Missing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ProfileRecords.h"

namespace profiles {

inline constexpr wchar_t kProfileLibraryName[] = L"QVTDX5PU.DLL";

// Data the library announces beyond this is refused rather than allocated.
inline constexpr DWORD kMaxProfileData = 1u << 20;

enum class CallStatus {
    Done,     // the export answered 0
    Refused,  // the export answered an error, or its data was unusable
    Missing,  // the library or the export could not be found (the warning was shown)
};

struct DataReply {
    CallStatus status = CallStatus::Refused;
    std::vector<std::uint8_t> data;
};

// The warning's text: the dialog library's string 23, then " (QVTDX5PU.DLL)" and the code: "1" with
// the error 0 as "[0x0000]" for a missing library, the export's number when only the export is
// missing ("3" GetDCD, "4" GetPerProf, then 5 to 9 for the others in the order of ProfileApi.h).
std::string MissingLibraryText(const std::string& string23, int exportNumber);
inline constexpr int kLibraryMissing = 0;

class ProfileLibrary {
public:
    // QVTDX5PU.DLL beside QVTDX5DA.
    ProfileLibrary();
    // A library at this path; the bare name when it is not there.
    explicit ProfileLibrary(std::wstring path);

    const std::wstring& Path() const { return path_; }

    // caption: the warning box's caption (the printer name). The two-call protocol is run here:
    // the request's data fields are set by the call.
    DataReply GetDcd(const std::string& caption, GetDcdRequest request) const;
    DataReply GetProfile(const std::string& caption, GetPerProfRequest request) const;
    CallStatus WriteProfile(const std::string& caption, WritePerProfileRequest& request) const;
    CallStatus ChangeProfile(const std::string& caption, ChangePerProfRequest& request) const;
    CallStatus EnumProfiles(const std::string& caption, EnumPerProfsRequest& request) const;
    CallStatus EnumSpecificProfiles(const std::string& caption, EnumSpecificPerProfRequest& request) const;
    CallStatus DeleteProfile(const std::string& caption, DeletePerProfRequest& request) const;

private:
    template <class Proc, class Call>
    CallStatus Invoke(const char* exportName, int exportNumber, const std::string& caption,
                      Call call) const;

    std::wstring path_;
};

}  // namespace profiles
