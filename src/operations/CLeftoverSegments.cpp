#include "operations/CLeftoverSegments.h"

#include "common/CDialog.h"
#include "common/CFile.h"
#include "common/CFileException.h"
#include "common/CSegmentName.h"

#include "platform/files/FileNames.h"
#include "platform/files/NameEntry.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"

namespace {

using Kind = platform::NameEntry::Kind;

// A join opens the first number past the set, and past a missing number looks eight further.
constexpr long long lookedPastTheSet = 9;
constexpr long long lookedPastAFind = 8;
// The kept files the question names one by one; the rest it counts.
constexpr std::size_t keptNamed = 3;

constexpr const char* beingSplit = "the file being split";

constexpr unsigned question = platform::MessageBoxType::yesNoCancel |
                              platform::MessageBoxType::iconExclamation |
                              platform::MessageBoxType::defaultButton3;

} // namespace

CLeftoverSegments::CLeftoverSegments(const std::string& baseName, long long segments,
                                     const std::string& sourceName)
    : m_sourceName(sourceName) {
    long long last = segments + lookedPastTheSet;
    for (long long number = segments + 1; number <= last; ++number) {
        const std::string name = CSegmentName::Make(baseName, number);
        if (platform::NameEntry::of(name).kind == Kind::nothing)
            continue;
        m_found.push_back({name, KeptBecause(name, sourceName)});
        last = number + lookedPastAFind;
    }
}

const char* CLeftoverSegments::KeptBecause(const std::string& name, const std::string& sourceName) {
    const platform::NameEntry entry = platform::NameEntry::of(name);
    if (entry.kind == Kind::directory)
        return "a folder";
    if (entry.kind != Kind::regularFile && entry.kind != Kind::link)
        return "not a regular file";
    if (!entry.ownedByUser)
        return "another user's";
    if (entry.readOnly)
        return "read-only";
    if (platform::FileNames::sameFile(name, sourceName))
        return beingSplit;
    return nullptr;
}

CLeftoverSegments::Answer CLeftoverSegments::Ask(CDialog& dialog, const char* caption,
                                                 bool splitDone) const {
    const int answer = dialog.MessageBox(Question(splitDone), std::string(caption), question);
    if (answer == platform::MessageBoxAnswer::yes)
        return Answer::remove;
    return answer == platform::MessageBoxAnswer::no || splitDone ? Answer::keep : Answer::cancel;
}

std::string CLeftoverSegments::Question(bool splitDone) const {
    const std::size_t count = m_found.size();
    std::string text =
        "The numbers that follow the new segments are taken: " + Shown(m_found.front().name);
    if (count > 1)
        text += " to " + Shown(m_found.back().name);
    text += " (" + std::to_string(count) + (count == 1 ? " file)" : " files)") +
            ". A join of the new segments would append them to the rebuilt file.\n\n";
    text += KeptLine();
    if (splitDone)
        return text + "Remove them? Yes removes them; No and Cancel keep them.";
    return text + "Remove them before splitting? Yes removes them, No keeps them and splits, "
                  "Cancel splits nothing.";
}

// A name on drive A: in the folder of the medium in the drive.
std::string CLeftoverSegments::Shown(const std::string& name) {
    return platform::FileNames::resolve(name).value_or(name);
}

std::string CLeftoverSegments::KeptLine() const {
    std::string line;
    std::size_t kept = 0;
    for (const Found& found : m_found) {
        if (found.keptBecause == nullptr)
            continue;
        if (++kept <= keptNamed)
            line += (kept == 1 ? "" : ", ") + Shown(found.name) + " (" + found.keptBecause + ")";
    }
    if (kept == 0)
        return {};
    if (kept > keptNamed)
        line += " and " + std::to_string(kept - keptNamed) + " more";
    return "Kept whatever the answer: " + line + ".\n\n";
}

void CLeftoverSegments::RemoveEarlier(const std::string& name, const std::string& sourceName) {
    if (platform::NameEntry::of(name).kind == Kind::nothing)
        return;
    // The source is held open: creating a file over it would meet a sharing violation.
    if (const char* kept = KeptBecause(name, sourceName))
        throw CFileException(kept == beingSplit ? CFileException::sharingViolation
                                                : CFileException::accessDenied,
                             -1, name);
    CFile::Remove(name);
}

// Each is looked at again as it is removed: the question may have been up for a while.
void CLeftoverSegments::Remove() const {
    for (const Found& found : m_found) {
        if (found.keptBecause == nullptr && KeptBecause(found.name, m_sourceName) == nullptr)
            CFile::Remove(found.name);
    }
}
