// A small tree of named nodes with the operations the driver's bridge asks of the settings
// interface: the QVTDX5UI.DLL stand-in's document, and the tests' own. Header only.
#pragma once

#include <cstdio>
#include <cstdint>
#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SettingsTree.h"

namespace settingsmodel {

using namespace settingsui;

class TreeNode;

class NodeValue final : public Value {
public:
    bool GetText(wchar_t* out, std::uint32_t chars) override
    {
        if (!hasText || text.size() + 1 > chars)
            return false;
        std::wmemcpy(out, text.c_str(), text.size() + 1);
        return true;
    }
    bool SetText(const wchar_t* t) override { text = t; hasText = true; return true; }
    bool GetBool(std::uint8_t* out) override { *out = boolean; return hasBool; }
    bool SetBool(std::uint8_t v) override { boolean = v; hasBool = true; return true; }
    bool GetInt16(std::int16_t* out) override { *out = number; return hasNumber; }
    bool SetInt16(std::int16_t v) override { number = v; hasNumber = true; return true; }
    bool GetFlags(std::uint32_t* out) override { *out = flags; return hasFlags; }
    bool SetFlags(std::uint32_t v) override { flags = v; hasFlags = true; return true; }
    Node* GetSelected() override { return selected; }
    bool SetSelected(Node* n) override { selected = n; return n != nullptr; }

    std::string Describe() const;

    std::wstring text;
    std::uint8_t boolean = 0;
    std::int16_t number = 0;
    std::uint32_t flags = 0;
    Node* selected = nullptr;
    bool hasText = false, hasBool = false, hasNumber = false, hasFlags = false;
};

class TreeNode final : public Node {
public:
    explicit TreeNode(std::wstring n) : name(std::move(n)) {}

    Children* EnumChildren() override;
    Value* OwnValue() override { return &value; }
    // A clone belongs to the node it is appended to.
    Node* Clone() override
    {
        auto* copy = new TreeNode(name);
        copy->value = value;
        copy->attributes = attributes;
        return copy;
    }
    bool AppendChild(Node* child) override
    {
        if (!child)
            return false;
        children.emplace_back(static_cast<TreeNode*>(child));
        return true;
    }
    bool Rename(const wchar_t* n) override { name = n; return true; }
    void NotifyChanged() override {}
    bool SetAttribute(const wchar_t* n, const Attribute& v) override { attributes[n] = v; return true; }
    bool GetAttribute(const wchar_t* n, Attribute* out) override
    {
        const auto it = attributes.find(n);
        if (it == attributes.end())
            return false;
        *out = it->second;
        return true;
    }

    TreeNode* Child(const std::wstring& n, bool create)
    {
        for (auto& c : children)
            if (c->name == n)
                return c.get();
        if (!create)
            return nullptr;
        children.push_back(std::make_unique<TreeNode>(n));
        return children.back().get();
    }

    std::wstring name;
    NodeValue value;
    std::map<std::wstring, Attribute> attributes;
    std::vector<std::unique_ptr<TreeNode>> children;
};

class NodeChildren final : public Children {
public:
    explicit NodeChildren(TreeNode* n) : node_(n) {}
    void Reset() override { at_ = 0; }
    bool HasCurrent() override { return at_ < node_->children.size(); }
    Node* Current() override { return HasCurrent() ? node_->children[at_].get() : nullptr; }
    void MoveNext() override { ++at_; }
    void Release() override { delete this; }

private:
    TreeNode* node_;
    std::size_t at_ = 0;
};

inline Children* TreeNode::EnumChildren()
{
    return new NodeChildren(this);
}

inline std::string NodeValue::Describe() const
{
    char line[600];
    if (hasText) {
        std::string narrow;
        for (wchar_t c : text)
            narrow += c < 128 ? char(c) : '?';
        std::snprintf(line, sizeof line, "text \"%s\"", narrow.c_str());
    } else if (hasBool) {
        std::snprintf(line, sizeof line, "bool %u", boolean);
    } else if (hasNumber) {
        std::snprintf(line, sizeof line, "int16 %d", number);
    } else if (hasFlags) {
        std::snprintf(line, sizeof line, "flags %lu", static_cast<unsigned long>(flags));
    } else if (selected) {
        std::snprintf(line, sizeof line, "selected");
    } else {
        std::snprintf(line, sizeof line, "none");
    }
    return line;
}

class SettingsTree final : public Tree {
public:
    Node* FindNode(const wchar_t* path) override { return Resolve(path, false); }
    Node* FindChildWithAttribute(const wchar_t* nodePath, const wchar_t* attribute, const Attribute& v) override
    {
        TreeNode* n = Resolve(nodePath, false);
        if (!n)
            return nullptr;
        for (auto& c : n->children) {
            const auto it = c->attributes.find(attribute);
            if (it != c->attributes.end() && it->second.integer == v.integer)
                return c.get();
        }
        return nullptr;
    }
    Value* CurrentValue() override { return current ? &current->value : nullptr; }

    // "\A\B" from the root, ".\A" from the current node.
    TreeNode* Resolve(const std::wstring& path, bool create)
    {
        TreeNode* n = &root;
        std::size_t at = 0;
        if (path.rfind(L".\\", 0) == 0) {
            n = current;
            at = 2;
        } else if (path.rfind(L"\\", 0) == 0) {
            at = 1;
        } else {
            return nullptr;
        }
        while (n && at < path.size()) {
            std::size_t end = path.find(L'\\', at);
            if (end == std::wstring::npos)
                end = path.size();
            n = n->Child(path.substr(at, end - at), create);
            at = end + 1;
        }
        return n;
    }

    TreeNode root{L""};
    TreeNode* current = nullptr;
};

}  // namespace settingsmodel
