#include "GenericInfo.h"

#include "DebugLog.h"
#include "OstrafelEngine.h"
#include "Tokenizer.h"

GenericInfo::GenericInfo(OstrafelEngine* engine, const CStdStr& keyword, const CStdStr& driverName)
    : engine_(engine), keyword_(keyword), driverName_(driverName)
{
}

GenericInfo::~GenericInfo() = default;

bool GenericInfo::Process()
{
    DebugLog << "GenericInfo::Process: Processing " << keyword_ << '\n';
    DebugLogStartTimer();
    CStdStr section = driverName_.empty() ? engine_->InstallSection() : engine_->InstallSectionFor(driverName_);
    bool result = ReadINF(section);
    DebugLogPrintTimer("GenericInfo::Process: Finished.  (Elapsed time: %f seconds.)");
    return result;
}

bool GenericInfo::ReadINF(const CStdStr& installSection)
{
    CStdStr value;
    if (!engine_->GetValue(installSection, keyword_, value))
        return false;
    CStdStringList names;
    Tokenizer(value, ',').SplitAll(names);
    for (const CStdStr& name : names) {
        const CStdStringList* lines = engine_->FindSection(name);
        if (!lines) {
            DebugLog << "GenericInfo::ReadINF: Section " << name << " not found" << '\n';
            continue;
        }
        for (const CStdStr& line : *lines) {
            if (ParseCommand(line))
                continue;
            DebugLog << "GenericInfo::ReadINF: Error parsing command:" << '\n';
            DebugLog << "\t\tSection: " << installSection << '\n';
            DebugLog << "\t\tCommand Name: " << keyword_ << '\n';
            DebugLog << "\t\tCommand: " << line << '\n';
        }
    }
    return true;
}

bool GenericInfo::ParseCommand(const CStdStr& line)
{
    Tokenizer tokenizer(line, ',', TokQuotes);
    CStdStr description, mode;
    tokenizer.Next(description);
    if (!tokenizer.Next(mode)) {
        DebugLog << "GenericInfo::ParseCommand: command " << line << " is invalid!" << '\n';
        return false;
    }
    if (!engine_->IsApplicable(ParseDecimal(mode)))
        return false;
    CStdStringList arguments;
    tokenizer.SplitAll(arguments);
    return HandleCommand(arguments);
}

bool GenericInfo::ParseAllFields(const CStdStr& line)
{
    CStdStringList fields;
    Tokenizer(line, ',', TokQuotes).SplitAll(fields);
    HandleCommand(fields);
    return true;
}

