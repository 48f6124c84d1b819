#include "common/CSetChecksum.h"

#include "common/CChecksumLines.h"
#include "common/CFile.h"
#include "common/CSegmentName.h"

#include "platform/files/FileEntries.h"
#include "platform/files/FileNames.h"
#include "platform/files/PathParts.h"

namespace {

constexpr const char* suffix = ".sundrel.sha256sums";
// Far more than the lines of any set: a larger file is no checksum file of ours.
constexpr std::uint64_t largestListing = 256u << 20;

} // namespace

std::string CSetChecksum::FileName(const std::string& base) {
    return base + suffix;
}

std::string CSetChecksum::TemporaryName(const std::string& base) {
    return base + ".sundrel.sha256part";
}

std::string CSetChecksum::NameInSet(const std::string& name) {
    const std::string local = platform::FileNames::onDriveA(name) ? name.substr(2) : name;
    return platform::PathParts::lastPart(local);
}

CSetChecksum::Listing CSetChecksum::Read(const std::string& base) {
    const std::string name = FileName(base);
    if (!platform::FileNames::nameExists(name))
        return {};
    CFile file;
    CFileException error;
    if (!file.Open(name, CFile::modeRead | CFile::typeBinary, &error))
        throw error;
    const std::uint64_t length = file.GetLength();
    if (length > largestListing)
        return {Listing::damaged, {}};
    std::string text(length, '\0');
    if (file.Read(text.data(), length) != length)
        return {Listing::damaged, {}};
    file.Close();
    const auto lines = CChecksumLines::Parse(text);
    if (!lines)
        return {Listing::damaged, {}};
    // The set is what the file lists, and the file is this set's only when it names base1 to
    // baseN in order, then the whole file.
    Listing listing{Listing::listed, {}};
    const std::string whole = NameInSet(base);
    for (std::size_t k = 0; k < lines->size(); ++k) {
        const bool last = k + 1 == lines->size();
        if ((*lines)[k].name != (last ? whole : CSegmentName::Make(whole, (long long)k + 1)))
            return {};
        if (!last)
            listing.digests.push_back((*lines)[k].digest);
    }
    return listing;
}

bool CSetChecksum::s_written = true;

void CSetChecksum::SetWritten(bool written) {
    s_written = written;
}

CSetChecksum::CSetChecksum(std::string base) : m_base(std::move(base)) {}

void CSetChecksum::RemoveEarlier() const {
    CFile::RemoveOwn(FileName(m_base));
    CFile::RemoveOwn(TemporaryName(m_base));
}

void CSetChecksum::Move(CFile& source, CFile& segment, std::uint64_t count) {
    if (!s_written) {
        CSegmentTransfer::Move(source, segment, count);
        return;
    }
    CSegmentTransfer::Move(source, segment, count,
                           {m_hasher, 1u << segmentDigest | 1u << wholeDigest, true});
}

void CSetChecksum::EndSegment(const std::string& name) {
    if (!s_written)
        return;
    m_hasher.end(segmentDigest);
    m_names.push_back(NameInSet(name));
}

const std::string& CSetChecksum::Text() {
    if (!m_text.empty())
        return m_text;
    m_hasher.end(wholeDigest);
    const std::vector<std::string>& segments = m_hasher.results(segmentDigest);
    std::vector<CChecksumLines::Line> lines;
    for (std::size_t k = 0; k < m_names.size(); ++k)
        lines.push_back({segments.at(k), m_names[k]});
    lines.push_back({m_hasher.results(wholeDigest).back(), NameInSet(m_base)});
    m_text = CChecksumLines::Format(lines);
    return m_text;
}

bool CSetChecksum::Write() {
    if (!s_written)
        return true;
    const std::string& text = Text();
    const std::string temporary = TemporaryName(m_base);
    CFile::RemoveOwn(temporary);
    CFile file;
    CFileException error;
    if (!file.OpenNew(temporary, &error)) {
        if (error.m_cause == CFileException::diskFull)
            return false;
        throw error;
    }
    try {
        if (file.Reserve(text.size()) < text.size()) {
            file.Close();
            CFile::Remove(temporary);
            return false;
        }
        file.Write(text.data(), text.size());
        const bool removable = file.IsOnRemovableMedium();
        if (removable)
            file.Flush();
        file.Close();
        CFile::Rename(temporary, FileName(m_base), true, removable);
    } catch (const CFileException&) {
        platform::FileEntries::removeOwn(temporary); // its own report is the one to show
        throw;
    }
    return true;
}
