// What QVTDX5DA requires of the settings-interface library (QVTDX5UI.DLL): the interface its
// "getDevIC" gives, the tree of named nodes it offers the bridge callback, and the request
// record. Both sides are built by the same compiler: the interfaces are plain abstract classes.
// No platform headers.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QV_SETTINGS_CALL __attribute__((stdcall))
#else
#define QV_SETTINGS_CALL
#endif

namespace settingsui {

class Node;

// An attribute value: the bridge compares "pclid" as an integer (type code 3).
inline constexpr std::uint32_t kIntegerAttribute = 3;
struct Attribute {
    std::uint32_t type = kIntegerAttribute;
    std::int32_t integer = 0;
};

class Value {
public:
    // Wide text into chars characters, terminator included; false when it does not fit.
    virtual bool GetText(wchar_t* out, std::uint32_t chars) = 0;
    virtual bool SetText(const wchar_t* text) = 0;
    virtual bool GetBool(std::uint8_t* out) = 0;
    virtual bool SetBool(std::uint8_t value) = 0;
    virtual bool GetInt16(std::int16_t* out) = 0;
    virtual bool SetInt16(std::int16_t value) = 0;
    virtual bool GetFlags(std::uint32_t* out) = 0;
    virtual bool SetFlags(std::uint32_t value) = 0;
    virtual Node* GetSelected() = 0;
    virtual bool SetSelected(Node* option) = 0;

protected:
    ~Value() = default;
};

class Children {
public:
    virtual void Reset() = 0;
    virtual bool HasCurrent() = 0;
    virtual Node* Current() = 0;
    virtual void MoveNext() = 0;
    virtual void Release() = 0;

protected:
    ~Children() = default;
};

// Nodes belong to the tree; the bridge never frees one.
class Node {
public:
    virtual Children* EnumChildren() = 0;
    virtual Value* OwnValue() = 0;
    virtual Node* Clone() = 0;
    virtual bool AppendChild(Node* child) = 0;
    virtual bool Rename(const wchar_t* name) = 0;
    virtual void NotifyChanged() = 0;
    virtual bool SetAttribute(const wchar_t* name, const Attribute& value) = 0;
    virtual bool GetAttribute(const wchar_t* name, Attribute* out) = 0;

protected:
    ~Node() = default;
};

class Tree {
public:
    // An absolute path ("\A\B") or one relative to the request's node (".\A").
    virtual Node* FindNode(const wchar_t* path) = 0;
    // The child of the named node whose attribute has the value.
    virtual Node* FindChildWithAttribute(const wchar_t* nodePath, const wchar_t* attribute, const Attribute& value) = 0;
    // The value of the request's node.
    virtual Value* CurrentValue() = 0;

protected:
    ~Tree() = default;
};

inline constexpr std::uint32_t kPublish = 0;
inline constexpr std::uint32_t kTake = 1;

struct Request {
    std::uint32_t code;
    std::uint32_t direction;  // kPublish or kTake
    void* context;            // the sheet context
    Tree* tree;
};

inline constexpr std::uint32_t kSucceeded = 0;
inline constexpr std::uint32_t kFailed = 1;
inline constexpr std::uint32_t kInvalidArgument = 0x80070057u;  // E_INVALIDARG

using Callback = std::uint32_t(QV_SETTINGS_CALL*)(Request* request);

// The interface of "getDevIC", in the order QVTDX5DA calls it.
class Interface {
public:
    virtual void Release() = 0;
    // The PROPSHEETUI_INFO and parameter of the property-sheet call; 0 on success.
    virtual long AddDocumentPages(void* info, std::intptr_t parameter) = 0;
    virtual long AddDevicePages(void* info, std::intptr_t parameter) = 0;
    virtual void SetCallback(Callback callback, void* context) = 0;

protected:
    ~Interface() = default;
};

}  // namespace settingsui
