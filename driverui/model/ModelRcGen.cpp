// Writes QVTDX5DA's model resources as a resource script: the display-name strings and one
// custom resource per record of ModelData.h, each written through its layout's field list.
// Runs on the build machine: qvmodelrc <output.rc>.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "ModelData.h"
#include "ModelLayout.h"

namespace {

using namespace model;
using namespace model::family;

struct Resource {
    int type;
    int name;
    std::vector<std::uint8_t> bytes;
};

std::vector<Resource> resources;

void Collect()
{
    ForEachFamilyResource([](int type, int name, std::vector<std::uint8_t> bytes) {
        resources.push_back({type, name, std::move(bytes)});
    });
}

// Every resource a type's names allow, once, and in whole words (the script writes words).
bool Check()
{
    bool ok = true;
    std::set<std::pair<int, int>> seen;
    for (const Resource& r : resources) {
        const TypeNames* names = nullptr;
        for (const TypeNames& t : kTypeNames)
            if (t.type == r.type)
                names = &t;
        if (!names || r.name < names->first || r.name > names->last) {
            std::cerr << "qvmodelrc: type " << r.type << " has no name " << r.name << "\n";
            ok = false;
        }
        if (!seen.insert({r.type, r.name}).second) {
            std::cerr << "qvmodelrc: type " << r.type << " name " << r.name << " twice\n";
            ok = false;
        }
        if (r.bytes.empty() || r.bytes.size() % 2 != 0) {
            std::cerr << "qvmodelrc: type " << r.type << " name " << r.name << " is "
                      << r.bytes.size() << " bytes\n";
            ok = false;
        }
    }
    for (const ModelData& m : kModels)
        for (const char c : m.name)
            if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') {
                std::cerr << "qvmodelrc: model name \"" << m.name << "\" needs quoting\n";
                ok = false;
            }
    return ok;
}

std::string Script()
{
    std::ostringstream rc;
    rc << "// Generated from ModelData.h by qvmodelrc; do not edit.\n"
          "LANGUAGE 0, 0\n\nSTRINGTABLE\nBEGIN\n";
    for (std::size_t i = 0; i < kModels.size(); ++i)
        rc << "  " << kModelNameString + int(i) << ", \"" << kModels[i].name << "\"\n";
    rc << "END\n";
    for (const Resource& r : resources) {
        rc << "\n" << r.name << " " << r.type << "\nBEGIN\n";
        for (std::size_t i = 0; i < r.bytes.size(); i += 2) {
            char word[16];
            std::snprintf(word, sizeof word, "0x%04X", unsigned(r.bytes[i] | r.bytes[i + 1] << 8));
            rc << (i % 16 == 0 ? "  " : " ") << word << (i + 2 < r.bytes.size() ? "," : "")
               << (i % 16 == 14 || i + 2 == r.bytes.size() ? "\n" : "");
        }
        rc << "END\n";
    }
    return rc.str();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: qvmodelrc <output.rc>\n";
        return 2;
    }
    Collect();
    if (!Check())
        return 1;
    std::ofstream out(argv[1], std::ios::binary);
    out << Script();
    out.close();
    if (!out) {
        std::cerr << "qvmodelrc: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
