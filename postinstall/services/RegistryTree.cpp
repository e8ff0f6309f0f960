// The key-tree half of Registry: key chains made with an access rule, and the deletion of empty
// keys and whole trees.
#include "Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "../engine/DebugLog.h"
#include "OSInfo.h"

namespace {

// A self-relative descriptor with the largest possible access list, and room to spare; the size
// comes from the registry and is not trusted.
constexpr DWORD kMaxSecuritySize = 0x20000;
// Key names are at most 255 characters.
constexpr DWORD kMaxKeyName = 256;

// The access list for keys made without copying: Everyone, all access, nothing inherited.
// Built on first use, once per CreateKey.
class EveryoneAllAccess {
public:
    EveryoneAllAccess() = default;
    ~EveryoneAllAccess()
    {
        if (sid_)
            FreeSid(sid_);
    }
    EveryoneAllAccess(const EveryoneAllAccess&) = delete;
    EveryoneAllAccess& operator=(const EveryoneAllAccess&) = delete;

    LONG Create(HKEY parent, const CStdStr& name, HKEY* key)
    {
        if (LONG rc = build())
            return rc;
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor_, FALSE};
        return RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               &attributes, key, nullptr);
    }

private:
    static LONG LastError()
    {
        DWORD error = GetLastError();
        return LONG(error ? error : ERROR_INVALID_PARAMETER);
    }

    LONG build()
    {
        if (built_)
            return ERROR_SUCCESS;
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        if (!sid_ && !AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid_)) {
            sid_ = nullptr;
            return LastError();
        }
        DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid_);
        acl_.assign((aclSize + 3) / 4, 0);
        ACL* acl = reinterpret_cast<ACL*>(acl_.data());
        if (!InitializeAcl(acl, aclSize, ACL_REVISION) ||
            !AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, sid_) ||
            !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE))
            return LastError();
        built_ = true;
        return ERROR_SUCCESS;
    }

    bool built_ = false;
    PSID sid_ = nullptr;
    std::vector<DWORD> acl_;  // DWORD elements keep the list aligned
    SECURITY_DESCRIPTOR descriptor_ = {};
};

}  // namespace

bool Registry::CreateKey(const CStdStr& root, const CStdStr& path, bool copyParentAccess)
{
    HKEY current = getRootKey(root);
    if (!current)
        return false;
    EveryoneAllAccess everyone;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find('\\', start), path.size());
        CStdStr part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        HKEY next = nullptr;
        LONG rc = RegOpenKeyExA(current, part.c_str(), 0, KEY_READ, &next);
        if (rc != ERROR_SUCCESS) {
            next = nullptr;
            if (copyParentAccess) {
                DWORD disposition = 0;
                rc = RegCreateKeyExA(current, part.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     nullptr, &next, &disposition);
                if (rc == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY)
                    cloneKeyAccess(current, next);
            } else {
                rc = everyone.Create(current, part, &next);
            }
        }
        releaseKey(current);
        if (rc != ERROR_SUCCESS) {
            DebugLog << "Registry::CreateKey: RegCreteKeyEx of " << part << " failed with code " << rc << '\n';
            return false;
        }
        current = next;
    }
    releaseKey(current);
    return true;
}

long Registry::cloneKeyAccess(HKEY source, HKEY target)
{
    if (OSInfo().Is9x())
        return 0;
    DWORD size = 0;
    LONG rc = RegGetKeySecurity(source, DACL_SECURITY_INFORMATION, nullptr, &size);
    if (rc != ERROR_INSUFFICIENT_BUFFER) {
        DebugLog << "Registry::cloneKeyAccess: ruh roh, something went wrong; error " << rc << '\n';
        return rc;
    }
    if (size == 0 || size > kMaxSecuritySize) {
        DebugLog << "Registry::cloneKeyAccess: size is an unbelievable value..." << '\n';
        return 1;
    }
    std::vector<BYTE> descriptor(size, 0);
    rc = RegGetKeySecurity(source, DACL_SECURITY_INFORMATION, descriptor.data(), &size);
    if (rc != ERROR_SUCCESS) {
        DebugLog << "Registry::cloneKeyAccess: RegGetKeySecurity returned " << rc << '\n';
        return rc;
    }
    rc = RegSetKeySecurity(target, DACL_SECURITY_INFORMATION, descriptor.data());
    if (rc != ERROR_SUCCESS)
        DebugLog << "Registry::cloneKeyAccess: RegSetKeySecurity returned " << rc << '\n';
    return rc;
}

bool Registry::DeleteEmptyKey(const CStdStr& root, const CStdStr& path, bool parents)
{
    CStdStr key = path;
    while (!key.empty() && key.back() == '\\')
        key.pop_back();
    bool deleted = false;
    // An empty path would name the root itself.
    while (!key.empty() && IsKeyEmpty(root, key)) {
        KeyRef base(*this, getRootKey(root));
        LONG rc = base ? RegDeleteKeyA(base.get(), key.c_str()) : LONG(ERROR_INVALID_HANDLE);
        if (rc != ERROR_SUCCESS) {
            DebugLog << "Registry::DeleteEmptyKey: RegDeleteKey returned " << rc << '\n';
            break;
        }
        deleted = true;
        size_t cut = key.rfind('\\');
        if (!parents || cut == CStdStr::npos || cut == 0)
            break;
        key.resize(cut);
    }
    return deleted;
}

void Registry::DeleteTree(const CStdStr& root, const CStdStr& key)
{
    // An empty key would name the root itself, and would empty it.
    if (key.find_first_not_of('\\') == CStdStr::npos)
        return;
    cleanHelper(root, key, true);
}

void Registry::cleanHelper(const CStdStr& root, const CStdStr& key, bool deleteNonEmpty)
{
    {
        KeyRef h(*this, openKey(root, key, kAll));
        if (!h)
            return;
        DWORD subKeys = 0;
        LONG rc = RegQueryInfoKeyA(h.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) {
            DebugLog << "Registry::cleanHelper: could not open " << root << "\\" << key << " (error " << rc << ")"
                     << '\n';
        } else {
            // From the last down, so that deleting one does not move those still to come.
            for (DWORD i = subKeys; i > 0; --i) {
                char name[kMaxKeyName];
                DWORD length = kMaxKeyName;
                rc = RegEnumKeyExA(h.get(), i - 1, name, &length, nullptr, nullptr, nullptr, nullptr);
                if (rc != ERROR_SUCCESS) {
                    DebugLog << "Registry::cleanHelper: could not enumerate on key " << root << "\\" << key
                             << " (error " << rc << ")" << '\n';
                    break;
                }
                cleanHelper(root, key + "\\" + CStdStr(name, length), deleteNonEmpty);
            }
        }
    }
    if (!deleteNonEmpty) {
        DeleteEmptyKey(root, key, false);
        return;
    }
    KeyRef base(*this, getRootKey(root));
    LONG rc = base ? RegDeleteKeyA(base.get(), key.c_str()) : LONG(ERROR_INVALID_HANDLE);
    if (rc != ERROR_SUCCESS)
        DebugLog << "Registry::cleanHelper: RegDeleteKey of " << root << "\\" << key << " failed (error " << rc
                 << ")" << '\n';
}
