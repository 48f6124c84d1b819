#include "operations/CJoinOutput.h"

#include "common/CDialog.h"
#include "common/CFileException.h"

#include "platform/files/FileEntries.h"
#include "platform/files/FileNames.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"

#include <optional>

namespace {

using platform::WorkFiles;
constexpr unsigned createMode = CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;
constexpr unsigned inPlaceQuestion = platform::MessageBoxType::okCancel |
                                     platform::MessageBoxType::iconExclamation |
                                     platform::MessageBoxType::defaultButton2;

const char* why(WorkFiles::Obstacle obstacle) {
    switch (obstacle) {
    case WorkFiles::Obstacle::otherNames:
        return "it has other names (hard links), which would keep the old contents";
    case WorkFiles::Obstacle::noRoom:
        return "its folder has no room for the joined file beside it";
    default:
        return "you may not create files in its folder";
    }
}

} // namespace

// Whatever ends the join, a work file that did not get its name does not stay.
CJoinOutput::~CJoinOutput() {
    if (m_work.empty())
        return;
    LetGo();
    platform::FileEntries::removeOwn(m_work);
}

// Closes the file before what was written goes: the report of what ended the join is the one to
// show, not a failure to close.
void CJoinOutput::LetGo() {
    try {
        m_file.Close();
    } catch (const CFileException&) {
    }
}

CJoinOutput::Opened CJoinOutput::Open(CDialog& dialog, const std::string& target,
                                      std::uint64_t needed, bool replacing) {
    m_target = target;
    m_final = platform::FileNames::leadsTo(target);
    m_replacing = replacing;
    m_sweep.emplace(m_final);
    CFileException error;
    if (replacing && !m_replaced.Open(target, CFile::modeWrite | CFile::typeBinary, &error)) {
        // A link that leads nowhere yet: the file is created where it points, as ever, and that
        // file is what a stop removes.
        if (error.m_cause != CFileException::fileNotFound)
            return Opened::refused;
        m_inPlace = true;
        if (!m_file.Open(target, createMode))
            return Opened::refused;
        m_final = platform::FileNames::leadsTo(target);
        return Opened::yes;
    }
    WorkFiles::Obstacle obstacle =
        replacing ? WorkFiles::obstacleFor(m_final, needed) : WorkFiles::Obstacle::none;
    if (obstacle == WorkFiles::Obstacle::none) {
        if (m_file.OpenWork(m_final, &error)) {
            m_work = m_file.GetFilePath();
            if (replacing) {
                try {
                    m_file.KeepAttributesOf(m_replaced);
                } catch (CFileException& failed) {
                    Fail(failed);
                    throw;
                }
            }
            return Opened::yes;
        }
        if (replacing)
            obstacle = WorkFiles::obstacleOf(static_cast<int>(error.m_lOsError));
        if (obstacle == WorkFiles::Obstacle::none)
            return Opened::refused;
    }
    if (!AskInPlace(dialog, target, obstacle))
        return Opened::cancelled;
    m_replaced.Close();
    m_inPlace = true;
    return m_file.Open(target, createMode) ? Opened::yes : Opened::refused;
}

bool CJoinOutput::AskInPlace(CDialog& dialog, const std::string& target,
                             WorkFiles::Obstacle obstacle) const {
    const std::string text = target +
                             " cannot be rebuilt beside the file that stands under its "
                             "name: " +
                             why(obstacle) +
                             ". The join would write into that file itself: what it holds is "
                             "emptied now, and lost if the join stops, fails or finds damage.\n\n"
                             "Join into it anyway?";
    return dialog.MessageBox(text, std::nullopt, inPlaceQuestion) == platform::MessageBoxAnswer::ok;
}

void CJoinOutput::Close() {
    FlushWhereRemovable();
    m_file.Close();
}

void CJoinOutput::FlushWhereRemovable() {
    if (!m_file.IsOpen())
        return;
    m_removable = m_file.IsOnRemovableMedium();
    if (m_removable)
        m_file.Flush();
}

// The work file is renamed while it is still open, and so locked: no sweep for the work files of
// killed runs takes it meanwhile. A file that came to stand under a name that was free when the
// join began is never replaced.
void CJoinOutput::Commit() {
    try {
        FlushWhereRemovable();
        if (!m_inPlace && !CFile::Rename(m_work, m_final, m_replacing, m_removable))
            throw CFileException(CFileException::accessDenied, -1, m_final);
        m_file.Close();
    } catch (CFileException& error) {
        Fail(error);
        throw;
    }
    m_work.clear();
    m_replaced.Close();
}

void CJoinOutput::Discard() {
    // Through a link the bytes went to the file it leads to: that is what goes.
    const std::string written = m_inPlace ? m_final : m_work;
    LetGo();
    m_work.clear();
    if (m_inPlace)
        CFile::Remove(written);
    else
        platform::FileEntries::removeOwn(written);
}

void CJoinOutput::Fail(CFileException& error) {
    if (m_inPlace)
        return;
    LetGo();
    platform::FileEntries::removeOwn(m_work);
    if (error.m_strFileName == m_work)
        error.m_strFileName = platform::FileNames::fullPath(m_final);
    m_work.clear();
}

std::string CJoinOutput::SetAside() {
    if (m_inPlace) {
        Close();
        if (m_file.Open(m_target, createMode))
            m_file.Close();
        return {};
    }
    for (int attempt = 1;; ++attempt) {
        std::string name = m_final + ".damaged";
        if (attempt > 1)
            name.append(1, '-').append(std::to_string(attempt));
        if (attempt == 1)
            FlushWhereRemovable();
        if (CFile::Rename(m_work, name, false, m_removable)) {
            m_work.clear();
            Close();
            return name;
        }
    }
}
