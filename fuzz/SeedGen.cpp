// Writes the fuzzers' seed corpora: the sample script and its lines, configuration data built
// from the family's devmodes, record lists as the list settings write them, every model
// resource of the family, and the language library's strings in English and pseudo-localised.
// Usage: qvfuzzseeds <script.inf> <output directory>.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "CfgEngine.h"
#include "EscapeReplies.h"
#include "FeatureBlock.h"
#include "Feedback.h"
#include "FontCache.h"
#include "JobDevmode.h"
#include "ModelData.h"
#include "ModelFixtures.h"
#include "RcScript.h"
#include "RecordList.h"
#include "engine/InfFile.h"
#include "engine/Tokenizer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path outDir;
int written = 0;

void Seed(const std::string& target, const std::string& name, const Bytes& bytes)
{
    const fs::path dir = outDir / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ++written;
}

void Seed(const std::string& target, const std::string& name, const std::string& text)
{
    Seed(target, name, Bytes(text.begin(), text.end()));
}

// FuzzedDataProvider takes its integers from the end of the input, one byte at a time while the
// range needs more: the bytes of a value in range [0, range], in the order it reads them.
Bytes ProviderInteger(std::uint64_t value, std::uint64_t range)
{
    int bytes = 0;
    for (int shift = 0; shift < 64 && (range >> shift) > 0; shift += 8)
        ++bytes;
    Bytes taken;
    for (int i = bytes - 1; i >= 0; --i)
        taken.push_back(std::uint8_t(value >> (8 * i)));
    return taken;
}

// ---- Script text.

void ScriptSeeds(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string script((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (script.empty()) {
        std::cerr << "qvfuzzseeds: cannot read " << path << '\n';
        std::exit(1);
    }
    Seed("fuzz_inffile", "qv5setup.inf", script);
    Seed("fuzz_macros", "qv5setup.inf", script);
    // The same script as UTF-16, as a localised package may carry it.
    Bytes wide{0xFF, 0xFE};
    for (char c : script) {
        wide.push_back(std::uint8_t(c));
        wide.push_back(0);
    }
    Seed("fuzz_inffile", "qv5setup-utf16.inf", wide);

    InfFile inf;
    inf.LoadFromText(script);
    int n = 0;
    for (const InfSection& section : inf.Sections()) {
        for (const CStdStr& line : section.lines) {
            const std::string id = std::to_string(++n);
            Seed("fuzz_keyvalue", "line" + id, line);
            // Command lines are split at commas with quotes.
            Seed("fuzz_tokenizer", "line" + id, std::string(",") + char(TokQuotes | TokTrimLeft) + line);
        }
    }
    Seed("fuzz_tokenizer", "cmdline", std::string(" ") + char(TokQuotes | TokTrimLeft) +
                                          "-s -i qv5setup.inf -p LPT1: -n \"Qelbrin QV-5\"");
    Seed("fuzz_tokenizer", "version", std::string(".") + char(0) + "5.0.2195.1");
    Seed("fuzz_tokenizer", "keylist", std::string(",") + char(0) + "QV5_Files,,QV5_Apps,");
}

// ---- Zip entry names, as archives of the package hold them.

void ZipNameSeeds()
{
    const char* const names[] = {"QVTDX5.HLP", "fonts/QVARIAL.TTF", "fonts\\sub\\QVGOTH.TTF",
                                 "../QVBAD.TXT", "fonts/.. /x", "C:x", "/rooted"};
    int n = 0;
    for (const char* name : names)
        Seed("fuzz_zipname", "name" + std::to_string(++n), name);
}

// ---- Configuration data built from the family's devmodes.

void ConfigSeeds()
{
    using model::family::kModels;
    struct Change {
        dm::Field field;
        std::int64_t value;
    };
    // A variant is a set of changes to the model's defaults, on a system of a code page, built in
    // a mode.
    struct Variant {
        std::vector<Change> changes;
        std::size_t codePageIndex;  // into fuzzfix::kCodePages
        std::uint32_t mode;
    };
    const std::vector<Variant> variants = {
        {{}, 1, 0},
        {{{dm::kPaperSize, 512}}, 1, 0},                             // a user-defined form
        {{{dm::kPaperSize, 640}, {dm::kSecondPaperSize, 1}}, 1, 0},  // a form association
        {{{dm::kOrientation, 2}, {dm::kDuplex, 2}, {dm::kCopies, 3}, {dm::kCollate, 1}}, 1, 0},
        {{{dm::kDefaultSource, 4}, {dm::kPrintQuality, 1200}, {dm::kColor, 2}}, 1, 0},
        {{{dm::kPaperSize, dm::kUserDefinedPaper}, {dm::kPaperWidth, 1500}, {dm::kPaperLength, 2500}}, 2, 1},
        {{}, 4, 1},
    };
    for (std::size_t m = 0; m < kModels.size(); ++m) {
        for (std::size_t v = 0; v < variants.size(); ++v) {
            const Variant& variant = variants[v];
            auto env = fuzzfix::ModelEnvironmentOf(kModels[m], fuzzfix::kCodePages[variant.codePageIndex]);
            const std::uint8_t selector = fuzzfix::SelectorByte(m, variant.mode, variant.codePageIndex);
            Bytes devmode = fuzzfix::DevmodeOf(kModels[m]);
            for (const Change& c : variant.changes)
                dm::Write(devmode, c.field, c.value);
            const std::string name = "model" + std::to_string(m) + "-" + std::to_string(v);
            Bytes withModel{selector};
            withModel.insert(withModel.end(), devmode.begin(), devmode.end());
            Seed("fuzz_cfgbuild", name, withModel);

            const Bytes data = BuildConfigData(devmode, &env, kOpBuild, variant.mode);
            if (data.empty())
                continue;
            // The data for the model that wrote it.
            Bytes input{selector};
            input.insert(input.end(), data.begin(), data.end());
            Seed("fuzz_cfgdata", name, input);

            // The cursor reads it whole: stored data, then a walk into the first element.
            Bytes program = data;
            Bytes fromEnd = {1};  // stored
            const Bytes length = ProviderInteger(data.size() > 2048 ? 2048 : data.size(), 2048);
            fromEnd.insert(fromEnd.end(), length.begin(), length.end());
            // next, next, read four bytes, next, end, end, rewind, next, end
            for (std::uint8_t op : {4, 4, 5, 4, 2, 2, 6, 4, 2}) {
                fromEnd.push_back(op);
                if (op == 5)
                    fromEnd.push_back(4);
            }
            program.insert(program.end(), fromEnd.rbegin(), fromEnd.rend());
            Seed("fuzz_cursor", name, program);
        }
    }
}

// ---- Devmodes as callers hand them in: the family's defaults, some settings changed, the older
// public layout without a private part, and a foreign driver's devmode of the same sizes.

void DevmodeSeeds()
{
    using namespace devmode;
    using model::family::kModels;
    for (std::size_t m = 0; m < kModels.size(); ++m) {
        const Bytes defaults = fuzzfix::DevmodeOf(kModels[m]);
        const auto seed = [&](const std::string& name, std::uint8_t outputChoice, Bytes d) {
            Bytes input{std::uint8_t(m | outputChoice << 2)};
            input.insert(input.end(), d.begin(), d.end());
            Seed("fuzz_devmode", "model" + std::to_string(m) + "-" + name, input);
        };
        seed("defaults", 6, defaults);

        Bytes changed = defaults;
        Set(changed, dmFields, Get(changed, dmFields) | kFieldColor | kFieldCollate);
        Set(changed, dmPaperSize, 256);
        Set(changed, dmPaperWidth, 1500);
        Set(changed, dmPaperLength, 2500);
        Set(changed, dmCopies, 12);
        Set(changed, dmPrintQuality, -2);
        Set(changed, dmCollate, 1);
        UpdateChecksum(changed);
        seed("changed", 6, changed);

        Bytes old(defaults.begin(), defaults.begin() + kOldPublicSize);
        Set(old, dmSpecVersion, kOldSpecVersionValue);
        Set(old, dmSize, std::uint16_t(kOldPublicSize));
        Set(old, dmDriverExtra, 0);
        seed("old-layout", 3, old);

        Bytes foreign = defaults;
        Set(foreign, kSignature1, 0x12345678u);
        Set(foreign, dmPaperSize, 512);
        seed("foreign", 7, foreign);
    }
}

// ---- Record lists as the list settings write them.

void RecordListSeeds()
{
    using recordlist::Field;
    std::vector<std::pair<std::string, Bytes>> lists;

    recordlist::RecordList forms;
    const char* const names[] = {"Letter Small", "Cheque 6x3", "Label"};
    for (std::int16_t i = 0; i < 3; ++i) {
        const Bytes number = recordlist::Int16Data(std::int16_t(512 + i));
        const Bytes name = recordlist::TextData(names[i]);
        const Bytes width = recordlist::Int16Data(std::int16_t(2100 + 100 * i));
        const Bytes height = recordlist::Int16Data(std::int16_t(2970 - 100 * i));
        const Bytes zero = recordlist::Int16Data(0);
        const Bytes paperInfo(32, std::uint8_t(i));
        const Field fields[] = {{1, number}, {2, name}, {3, width}, {4, height},
                                {5, zero},   {6, zero}, {7, paperInfo}};
        forms.Append(fields);
    }
    lists.emplace_back("userforms", forms.Bytes());

    recordlist::RecordList named;
    const std::uint8_t macro[] = {0x1B, 'E', 0x1B, '&', 'l', '1', 'O'};
    const std::string texts[] = {"Confidential", recordlist::HexText(macro, 64)};
    for (std::int16_t i = 0; i < 2; ++i) {
        const Bytes number = recordlist::Int16Data(std::int16_t(i + 1));
        const Bytes name = recordlist::TextData(texts[i]);
        const Field fields[] = {{1, number}, {2, name}};
        named.Append(fields);
    }
    lists.emplace_back("named", named.Bytes());
    lists.emplace_back("empty", Bytes{});

    for (const auto& [name, bytes] : lists) {
        // The whole input is the stored list: its length is the provider's first integer.
        for (std::size_t tail = 1; tail <= 8; ++tail) {
            const std::uint64_t total = bytes.size() + tail;
            const Bytes length = ProviderInteger(bytes.size(), total);
            if (length.size() != tail)
                continue;
            Bytes input = bytes;
            input.insert(input.end(), length.rbegin(), length.rend());
            Seed("fuzz_recordlist", name, input);
            break;
        }
    }
}

// ---- Every model resource of the family, as QVTDX5DA carries it.

void ModelSeeds()
{
    for (const auto& [id, bytes] : fuzzfix::Family().All())
        Seed("fuzz_model", std::to_string(id.first) + "-" + std::to_string(id.second), bytes);
    // The default builder's resources, one to a seed: byte 0 names the model and the table entry.
    using model::family::kModels;
    for (std::size_t m = 0; m < kModels.size(); ++m) {
        for (std::size_t t = 0; t < std::size(fuzzfix::kBuilderResources); ++t) {
            const auto& r = fuzzfix::kBuilderResources[t];
            const auto bytes = fuzzfix::Family().Resource(r.type, fuzzfix::ResourceName(r, m));
            Bytes input{std::uint8_t(m | t << 2)};
            input.insert(input.end(), bytes.begin(), bytes.end());
            Seed("fuzz_defaults", "model" + std::to_string(m) + "-" + std::to_string(r.type), input);
        }
    }
}

// ---- Printer events: configuration updates and the utility's command line.

// A string as FuzzedDataProvider::ConsumeRandomLengthString reads one: backslashes doubled, then
// a backslash and another character to end it.
std::string ProviderString(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\\')
            out += c;
    }
    return out + "\\;";
}

void EventSeeds()
{
    const std::string installed = "[QVTDX5DD]\r\nQV5=1\r\n[Fonts]\r\nCourier=old\r\nArial=keep\r\n"
                                  "[FontSubstitutes]\r\nHelv=Arial\r\n[ALIAS]\r\nArial=ArialSet\r\n"
                                  "[ArialSet]\r\nBold=ArialBd\r\n";
    const std::string head = "[QVTDX5DD]\r\ntag=QV5\r\nver=2\r\n[UpdateControl]\r\n";
    const char* const rules[] = {
        "|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=new\r\n",
        "|EXIST|0|QVTDX5DD.INI|Fonts|Courier=new\r\n|NOTEXIST|0|QVTDX5DD.INI|Fonts|Arial=new\r\n",
        "|REMOVE|0|QVTDX5DD.INI|Fonts|*=\r\n",
        "|REPLACE|0|QVTDX5DD.INI|Fonts|*=\r\n[QVTDX5DD.INI|Fonts]\r\nTimes=t\r\n",
        "~NOTEXIST~0~QVTDX5DD.INI~Fonts~Arial~REPLACE~7~QVTDX5DD.INI~Other~Key=both\r\n",
        "|MOVE|0|QVTDX5DD.INI|Fonts|Courier=x\r\n",
        "|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=new\r\n[AdditionalFonts]\r\nF1=QVSANS.FNT\r\n",
    };
    int n = 0;
    for (const char* rule : rules)
        Seed("fuzz_inirules", "rule" + std::to_string(++n), installed + std::string(1, '\0') + head + rule);

    const struct {
        const char* dir;
        const char* port;
        const char* printer;
        bool silent;
    } lines[] = {
        {"C:\\windows\\system32\\spool\\drivers\\w32x86\\3\\", "LPT1:", "Qelbrin QV-5", true},
        {"C:\\Program Files\\Qel\\", "LPT1:,FILE:", "Office \"2\" -s", false},
        {"C:\\drv\\", "LPT1:\" -i \"C:\\x.inf", "O'Brien", false},
        {"C:\\drv\\", "LPT1:", "Both \" and '", false},
    };
    n = 0;
    for (const auto& l : lines)
        Seed("fuzz_cmdquote", "line" + std::to_string(++n),
             ProviderString(l.dir) + ProviderString(l.port) + l.printer + char(l.silent ? 1 : 0));
}

// ---- Language library strings.

// A string table line's text, the script's doubled quotes read as one.
std::string ScriptText(const std::string& quoted)
{
    return rcscript::Unquoted(quoted).value_or("");
}

void StringSeeds()
{
    std::ifstream file(QV_STRINGS_SCRIPT);
    std::string line;
    int n = 0;
    while (std::getline(file, line)) {
        const std::string code = rcscript::Trim(rcscript::CodeOf(line));
        const std::size_t quote = code.find('"');
        if (quote == std::string::npos || code.rfind('"') == quote)
            continue;
        const std::string raw = code.substr(quote + 1, code.rfind('"') - quote - 1);
        for (const std::string& text : {ScriptText('"' + raw + '"'), ScriptText('"' + rcscript::PseudoText(raw) + '"')}) {
            // The format, the value its caller fills, a buffer of 256 and a width of 40.
            std::string seed = text;
            seed += '\0';
            seed += "Qelbrin QV-5 on LPT1:";
            seed += '\0';
            seed += std::string("\x00\x01\x28", 3);
            Seed("fuzz_textformat", "string" + std::to_string(++n), seed);
        }
    }
    if (n == 0) {
        std::cerr << "qvfuzzseeds: no strings in " << QV_STRINGS_SCRIPT << '\n';
        std::exit(1);
    }
}

// ---- Document events: the family's devmodes with names of every length before them, and the
// rendering driver's replies as it gives them.

void DocEventSeeds()
{
    using namespace devmode;
    using model::family::kModels;
    // FuzzedDataProvider: a length-prefixed text ends at a backslash and another character.
    const auto text = [](const std::string& s) { return s + "\\n"; };
    for (std::size_t m = 0; m < kModels.size(); ++m) {
        Bytes d = fuzzfix::DevmodeOf(kModels[m]);
        d[673] = 3;
        d[674] = 4;
        d[228] = d[432] = 0xFF;
        d[1124] = 1;
        UpdateChecksum(d);
        for (const std::size_t names : {std::size_t(8), std::size_t(41), std::size_t(60)}) {
            std::string head = text(std::string(names / 2, '1')) + text(std::string(names, 'C')) +
                               text(std::string(names, 'U'));
            Bytes input(head.begin(), head.end());
            input.insert(input.end(), d.begin(), d.end());
            // Integers come from the end: lists, then the two defaulted values.
            input.push_back(5);
            input.push_back(4);
            input.push_back(3);
            Seed("fuzz_jobdevmode", "model" + std::to_string(m) + "-names" + std::to_string(names), input);
        }
    }

    const auto words = [](std::initializer_list<std::uint32_t> values) {
        Bytes b;
        for (const std::uint32_t v : values)
            for (int i = 0; i < 4; ++i)
                b.push_back(std::uint8_t(v >> (8 * i)));
        return b;
    };
    const auto reply = [&](const std::string& name, Bytes bytes, std::int32_t answer, std::uint8_t marker) {
        for (int i = 3; i >= 0; --i)
            bytes.push_back(std::uint8_t(std::uint32_t(answer) >> (8 * i)));
        bytes.push_back(marker);
        Seed("fuzz_escapereply", name, bytes);
    };
    reply("watermark", words({3, 0, 0, 300, 0, 0, 2400, 3300, 0}), 1, 0);
    reply("watermark-600", words({255, 0, 0, 600, 100, 100, 4900, 6900, 0}), 1, 0);
    reply("end-resources", words({600, 4800, 6600, 1}), 2, 0);
    Bytes job(docevents::kJobStateSize, 0);
    Set(job, docevents::kJobFlags, 0x21u);
    Set(job, docevents::kJobVariant, 2);
    reply("job-state", job, 1, docevents::kManualDuplexOn);
}

// Counted lists the feature block builder reads: header and entry sizes, the most entries the
// parser accepts.
struct ListShape {
    int type;
    std::size_t header, entry, most;
};
constexpr ListShape kListShapes[] = {
    {model::kTrayListType, 4, 24, model::kMaxTrays},
    {model::kGraphicsModeListType, 6, 4, model::kMaxListOptions},
    {model::kGraphicsG1ListType, 4, 4, model::kMaxListOptions},
    {model::kGraphicsG1AltListType, 4, 4, model::kMaxListOptions},
    {model::kPrintModeListType, 2, 8, model::kMaxPrintModes},
    {model::kPaperTypeListType, 2, 6, model::kMaxPaperTypes},
    {model::kColourC3ListType, 2, 4, model::kMaxListOptions},
    {model::kShortOptionListType, 2, 4, model::kMaxShortOptions},
    {model::kOutputBinListType, 2, 6, model::kMaxOutputBins},
    {model::kHandlingOptionListType, 2, 4, model::kMaxListOptions},
    {model::kColourOptionListType, 2, 4, model::kMaxListOptions},
};

// The feature block: each model's own layout, once as it is and once with the rule entries marked
// changed; and each resource the builder reads, damaged to itself.
void FeatureBlockSeeds()
{
    using model::family::kModels;
    for (std::size_t m = 0; m < kModels.size(); ++m) {
        const auto layout = fuzzfix::Family().Selected(model::kFeatureLayoutType, kModels[m].description.featureLayout);
        Bytes input{std::uint8_t(m), std::uint8_t(layout.size()), std::uint8_t(layout.size() >> 8)};
        input.insert(input.end(), layout.begin(), layout.end());
        Seed("fuzz_featureblock", "model" + std::to_string(m), input);
        const auto items = feature::ReadLayout(layout);
        std::size_t at = feature::kHeaderSize;
        for (const model::FeatureItem& item : *items) {
            // Every entry marked changed: each rule and each refresh request runs.
            if (feature::EntrySize(item.type) > feature::kChanged) {
                const std::size_t flag = at + feature::kChanged;
                input.insert(input.end(), {std::uint8_t(flag), std::uint8_t(flag >> 8), 1});
            }
            at += feature::EntrySize(item.type);
        }
        Seed("fuzz_featureblock", "model" + std::to_string(m) + "-changed", input);
        for (std::size_t r = 0; r < std::size(fuzzfix::kFeatureResources); ++r) {
            const auto& read = fuzzfix::kFeatureResources[r];
            const auto bytes = fuzzfix::Family().Resource(read.type, fuzzfix::ResourceName(read, m));
            // The low byte of the length picks the resource; the high one makes it reach the end.
            Bytes damaged{std::uint8_t(m | 4), std::uint8_t(r), 0xFF};
            damaged.insert(damaged.end(), bytes.begin(), bytes.end());
            Seed("fuzz_featureblock", "model" + std::to_string(m) + "-" + std::to_string(read.type), damaged);
            // The same list grown to the most entries its parser takes, longer than any entry holds.
            for (const ListShape& shape : kListShapes) {
                if (shape.type != read.type || bytes.size() < shape.header + shape.entry)
                    continue;
                Bytes grown(bytes.begin(), bytes.begin() + shape.header);
                grown[0] = std::uint8_t(shape.most);
                grown[1] = std::uint8_t(shape.most >> 8);
                for (std::size_t i = 0; i < shape.most; ++i) {
                    const std::size_t from = shape.header + (i % ((bytes.size() - shape.header) / shape.entry)) * shape.entry;
                    grown.insert(grown.end(), bytes.begin() + from, bytes.begin() + from + shape.entry);
                }
                Bytes input{std::uint8_t(m | 4), std::uint8_t(r), 0xFF};
                input.insert(input.end(), grown.begin(), grown.end());
                Seed("fuzz_featureblock", "model" + std::to_string(m) + "-" + std::to_string(read.type) + "-most", input);
            }
        }
    }
}

// ---- Toolkit feedback messages and font summary cache files as the driver writes them.

Bytes FeedbackItem(std::uint16_t tag, const Bytes& data)
{
    const std::size_t length = data.size() + 4;
    Bytes item{std::uint8_t(tag), std::uint8_t(tag >> 8), std::uint8_t(length), std::uint8_t(length >> 8)};
    item.insert(item.end(), data.begin(), data.end());
    return item;
}

Bytes FeedbackText(const std::string& text)
{
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

void FontSeeds()
{
    const auto message = [](std::uint16_t command, std::uint16_t protocol, const std::vector<Bytes>& items) {
        Bytes m = FeedbackItem(feedback::kTagCommand, {std::uint8_t(command), 0});
        for (const Bytes& part : {FeedbackItem(feedback::kTagProtocol, {std::uint8_t(protocol), 0}),
                                  FeedbackItem(feedback::kTagPrinterName, FeedbackText("Qelbrin QV-5"))})
            m.insert(m.end(), part.begin(), part.end());
        for (const Bytes& item : items)
            m.insert(m.end(), item.begin(), item.end());
        const Bytes end = FeedbackItem(feedback::kTagEnd, {});
        m.insert(m.end(), end.begin(), end.end());
        return m;
    };
    Seed("fuzz_feedback", "fonts-added",
         message(8, 5, {FeedbackItem(feedback::kTagFontName, FeedbackText("Courier QV")),
                        FeedbackItem(feedback::kTagFontText, FeedbackText("1")),
                        FeedbackItem(feedback::kTagMetricName, FeedbackText("COURQV.PCM")),
                        FeedbackItem(feedback::kTagFontName, FeedbackText("Gothic QV"))}));
    Seed("fuzz_feedback", "macros-added",
         message(11, 6, {FeedbackItem(feedback::kTagMacroNumber, {3, 0}),
                         FeedbackItem(feedback::kTagMacroName, FeedbackText("letterhead")),
                         FeedbackItem(feedback::kTagKind3, {}),
                         FeedbackItem(feedback::kTagMacroName, FeedbackText("B")),
                         FeedbackItem(feedback::kTagKind4, {})}));
    Seed("fuzz_feedback", "allocate", message(12, 5, {FeedbackItem(feedback::kTagMacroName, FeedbackText("macro")),
                                                      FeedbackItem(feedback::kTagKind1, {})}));
    Seed("fuzz_feedback", "reply-word",
         message(9, 4, {FeedbackItem(feedback::kTagReplyWord, Bytes(8, 0)), FeedbackItem(feedback::kTagMacroNumber, {2, 0})}));

    fontcache::CacheImage image = fontcache::NewImage(std::vector<Bytes>{{'F', 'o', 'n', 't', 's'}, {'N', 'o', 'n', 'e'}});
    Seed("fuzz_fontcache", "empty", fontcache::Serialize(image));
    for (std::uint16_t quality : {300, 600, 1200}) {
        Bytes devmode(fontcache::kDevmodeSize, 0);
        devmode[73] = 0x04;
        devmode[90] = std::uint8_t(quality);
        devmode[91] = std::uint8_t(quality >> 8);
        Bytes summary{1, 0, 72, 0};
        summary.resize(4 + 72, std::uint8_t(quality));
        fontcache::Store(image, devmode, summary);
    }
    Seed("fuzz_fontcache", "three-records", fontcache::Serialize(image));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: qvfuzzseeds <script.inf> <output directory>\n";
        return 2;
    }
    outDir = argv[2];
    ScriptSeeds(argv[1]);
    ZipNameSeeds();
    ConfigSeeds();
    DevmodeSeeds();
    RecordListSeeds();
    ModelSeeds();
    EventSeeds();
    StringSeeds();
    DocEventSeeds();
    FeatureBlockSeeds();
    FontSeeds();
    std::cout << "qvfuzzseeds: " << written << " seeds in " << outDir.string() << '\n';
    return 0;
}
