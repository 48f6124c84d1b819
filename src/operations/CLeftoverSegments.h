#pragma once

#include <string>
#include <vector>

class CDialog;

// Files that stand under the numbers just past a set that a split writes: left by an earlier
// split of the same file into more segments, or unrelated files that share the pattern. A later
// join would append them to the rebuilt file, or stop on them, as if they belonged to the set.
// Found from the first number past the set up to one that eight free numbers follow, since a
// join looks eight numbers past a missing one.
class CLeftoverSegments final {
  public:
    CLeftoverSegments(const std::string& baseName, long long segments,
                      const std::string& sourceName);

    bool Empty() const { return m_found.empty(); }

    enum class Answer { remove, keep, cancel };
    // Asks the user (Yes, No, Cancel; Cancel the default) what to do about them, naming the first
    // and the last, how many there are, and those that are kept whatever the answer. After a
    // split that is done, Cancel keeps them as No does.
    Answer Ask(CDialog& dialog, const char* caption, bool splitDone) const;
    // Removes those that may be removed: the user's own regular files that are not read-only and
    // are not the source, and the user's own links (never what they lead to). Raises
    // CFileException naming the first that cannot be removed.
    void Remove() const;
    // Removes a file that stands under a name the split is about to write, under the rules of
    // Remove(). One that may not go is raised as a CFileException naming it, as a file that
    // cannot be created is. Nothing there is no failure.
    static void RemoveEarlier(const std::string& name, const std::string& sourceName);

  private:
    struct Found {
        std::string name;
        const char* keptBecause; // nullptr when it may be removed
    };
    static const char* KeptBecause(const std::string& name, const std::string& sourceName);
    std::string Question(bool splitDone) const;
    std::string KeptLine() const;
    static std::string Shown(const std::string& name);

    std::string m_sourceName;
    std::vector<Found> m_found;
};
