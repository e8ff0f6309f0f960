#include "ProfileLibrary.h"

#include <cstdio>
#include <new>

#include "BuildNotice.h"
#include "DialogStrings.h"
#include "Library.h"
#include "SiblingPath.h"

namespace profiles {
namespace {

constexpr char kLibraryText[] = "QVTDX5PU.DLL";
constexpr char kMissingLibraryCode[] = "1[0x%04X]";
constexpr std::uint16_t kMissingLibraryString = 23;

// Numbers of the exports in the missing-library warning.
constexpr int kGetDcdNumber = 3;
constexpr int kGetPerProfNumber = 4;
constexpr int kWritePerProfileNumber = 5;
constexpr int kChangePerProfNumber = 6;
constexpr int kEnumPerProfsNumber = 7;
constexpr int kEnumSpecificPerProfNumber = 8;
constexpr int kDeletePerProfNumber = 9;

void WarnMissing(const std::string& caption, int exportNumber)
{
    const std::string text = MissingLibraryText(DialogString(kMissingLibraryString).value_or(""), exportNumber);
    notices::NoticeBox(caption, text, MB_OK | MB_ICONWARNING);
}

// The two-call protocol on one loaded export: the size, then the data.
template <class Request, class Proc>
CallStatus FetchData(Proc proc, Request request, std::vector<std::uint8_t>& out)
{
    request.data = nullptr;
    request.dataSize = 0;
    if (proc(&request) != 0)
        return CallStatus::Refused;
    const DWORD needed = request.dataSize;
    if (needed == 0 || needed > kMaxProfileData)
        return CallStatus::Refused;
    std::vector<std::uint8_t> data;
    try {
        data.resize(needed);
    } catch (const std::bad_alloc&) {
        return CallStatus::Refused;
    }
    request.data = data.data();
    request.dataSize = needed;
    if (proc(&request) != 0 || request.dataSize == 0 || request.dataSize > needed)
        return CallStatus::Refused;
    data.resize(request.dataSize);
    out = std::move(data);
    return CallStatus::Done;
}

}  // namespace

std::string MissingLibraryText(const std::string& string23, int exportNumber)
{
    std::string text = string23 + " (" + kLibraryText + ")";
    if (exportNumber == kLibraryMissing) {
        char code[32];
        std::snprintf(code, sizeof code, kMissingLibraryCode, 0u);
        text += code;
    } else {
        text += std::to_string(exportNumber);
    }
    return text;
}

ProfileLibrary::ProfileLibrary() : path_(SiblingPathW(DriverModule(), kProfileLibraryName)) {}

ProfileLibrary::ProfileLibrary(std::wstring path) : path_(std::move(path)) {}

template <class Proc, class Call>
CallStatus ProfileLibrary::Invoke(const char* exportName, int exportNumber, const std::string& caption,
                                  Call call) const
{
    HMODULE module = LoadLibraryW(path_.c_str());
    if (!module)
        module = LoadLibraryW(kProfileLibraryName);
    if (!module) {
        WarnMissing(caption, kLibraryMissing);
        return CallStatus::Missing;
    }
    const auto proc = reinterpret_cast<Proc>(GetProcAddress(module, exportName));
    CallStatus status = CallStatus::Missing;
    if (proc)
        status = call(proc);
    FreeLibrary(module);
    if (!proc)
        WarnMissing(caption, exportNumber);
    return status;
}

DataReply ProfileLibrary::GetDcd(const std::string& caption, GetDcdRequest request) const
{
    DataReply reply;
    request.size = sizeof request;
    request.version = kRequestVersion;
    reply.status = Invoke<GetDcdProc>("GetDCD", kGetDcdNumber, caption,
                                      [&](GetDcdProc proc) { return FetchData(proc, request, reply.data); });
    return reply;
}

DataReply ProfileLibrary::GetProfile(const std::string& caption, GetPerProfRequest request) const
{
    DataReply reply;
    request.size = sizeof request;
    request.version = kRequestVersion;
    reply.status = Invoke<GetPerProfProc>("GetPerProf", kGetPerProfNumber, caption,
                                          [&](GetPerProfProc proc) { return FetchData(proc, request, reply.data); });
    return reply;
}

CallStatus ProfileLibrary::WriteProfile(const std::string& caption, WritePerProfileRequest& request) const
{
    request.size = sizeof request;
    request.version = kRequestVersion;
    FillIdentBlock(request.ident);
    return Invoke<WritePerProfileProc>("WritePerProfile", kWritePerProfileNumber, caption,
                                       [&](WritePerProfileProc proc) {
                                           return proc(&request) == 0 ? CallStatus::Done : CallStatus::Refused;
                                       });
}

CallStatus ProfileLibrary::ChangeProfile(const std::string& caption, ChangePerProfRequest& request) const
{
    request.size = sizeof request;
    request.version = kRequestVersion;
    FillIdentBlock(request.ident);
    return Invoke<ChangePerProfProc>("ChangePerProf", kChangePerProfNumber, caption,
                                     [&](ChangePerProfProc proc) {
                                         return proc(&request) == 0 ? CallStatus::Done : CallStatus::Refused;
                                     });
}

CallStatus ProfileLibrary::EnumProfiles(const std::string& caption, EnumPerProfsRequest& request) const
{
    request.size = sizeof request;
    request.version = kRequestVersion;
    return Invoke<EnumPerProfsProc>("EnumPerProfs", kEnumPerProfsNumber, caption,
                                    [&](EnumPerProfsProc proc) {
                                        return proc(&request) == 0 ? CallStatus::Done : CallStatus::Refused;
                                    });
}

CallStatus ProfileLibrary::EnumSpecificProfiles(const std::string& caption,
                                                EnumSpecificPerProfRequest& request) const
{
    request.size = sizeof request;
    request.version = kRequestVersion;
    return Invoke<EnumSpecificPerProfProc>("EnumSpecificPerProf", kEnumSpecificPerProfNumber, caption,
                                           [&](EnumSpecificPerProfProc proc) {
                                               return proc(&request) == 0 ? CallStatus::Done
                                                                          : CallStatus::Refused;
                                           });
}

CallStatus ProfileLibrary::DeleteProfile(const std::string& caption, DeletePerProfRequest& request) const
{
    request.size = sizeof request;
    request.version = kRequestVersion;
    request.target = kDeleteTargetProfile;
    request.operation = kDeleteOperationRemove;
    return Invoke<DeletePerProfProc>("DeletePerProf", kDeletePerProfNumber, caption,
                                     [&](DeletePerProfProc proc) {
                                         return proc(&request) == 0 ? CallStatus::Done : CallStatus::Refused;
                                     });
}

}  // namespace profiles
