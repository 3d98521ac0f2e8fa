// A node's settings: the include folders and defines its analyser personality holds.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "packed_entries.h"

// A define's value, and whether it was given with "=": "X=" defines X as empty, "X" as 1.
struct DefineValue {
    std::string text;
    bool assigned = false;

    bool operator==(const DefineValue&) const = default;
};

// Entries that cost one pointer while there are none. Most nodes are groups that never hold
// settings, and a project may have a million of them.
class CompilerFolders;

class SparseEntries {
public:
    SparseEntries() = default;
    SparseEntries(const SparseEntries& other) { *this = other; }
    SparseEntries& operator=(const SparseEntries& other)
    {
        if (this != &other)
            entries = other.empty() ? nullptr : std::make_unique<PackedEntries>(*other.entries);
        return *this;
    }

    bool empty() const { return !entries || entries->empty(); }
    std::size_t size() const { return entries ? entries->size() : 0; }
    std::size_t count(std::string_view key) const { return entries && entries->find(key) ? 1 : 0; }

    // The key at position i in byte order, i < size().
    std::string_view keyAt(std::size_t i) const { return entries->keyAt(i); }

    // The bytes of the personality lines of the entries sorted in so far (at no cost): the quotes,
    // the option and CR LF take 7 bytes besides an entry's key and value.
    unsigned long long lineBytesSoFar() const { return entries ? entries->bytesSoFar() + 7 * entries->sizeSoFar() : 0; }

    // Sorts the waiting entries in (PackedEntries).
    void settle() const
    {
        if (entries)
            entries->settle();
    }

protected:
    PackedEntries& modify()
    {
        if (!entries)
            entries = std::make_unique<PackedEntries>();
        return *entries;
    }
    const PackedEntries* packed() const { return entries.get(); }

private:
    std::unique_ptr<PackedEntries> entries;
};

// A node's own include folders: byte order, each once.
class FolderSet : public SparseEntries {
public:
    void insert(std::string_view folder) { modify().put(folder, {}); }

    // A copy, to compare and to look at.
    std::set<std::string> get() const;
    friend bool operator==(const FolderSet& a, const std::set<std::string>& b) { return a.get() == b; }
};

// A node's own defines: byte order of names, each once.
class DefineMap : public SparseEntries {
public:
    // Sets a define; a name given again replaces its value and whether it had "=".
    // Its value is stored as long as the "=value" part of its personality line.
    void set(std::string_view macro, std::string_view text, bool assigned);
    DefineValue at(std::string_view macro) const;

    // The value of the define at position i in byte order of names, i < size().
    DefineValue valueAt(std::size_t i) const { return decode(packed()->valueAt(i)); }

    // A copy, to compare and to look at.
    std::map<std::string, DefineValue> get() const;
    friend bool operator==(const DefineMap& a, const std::map<std::string, DefineValue>& b) { return a.get() == b; }

private:
    static DefineValue decode(std::string_view stored);
};

// The include folders and defines of a target or group, as both readers fill them.
class NodeSettings {
public:
    bool empty() const { return includePaths.empty() && defines.empty() && (below == nullptr || below->empty()); }

    // Sets a define; a name given again replaces its value and whether it had "=".
    void setDefine(std::string_view macro, std::string_view text, bool assigned) { defines.set(macro, text, assigned); }

    // Stores a completed folder unless the compiler personality already names it (as the
    // host's file system compares names).
    void addIncludeFolder(std::string_view folder, const CompilerFolders& compilerFolders);

    // Lays these settings over those of below, which must outlive them and hold no overlay of
    // its own: a define of its own keeps its value, include folders are united. below is
    // referred to, not copied: a thousand groups over a target of 20,000 defines share them.
    void overlay(const NodeSettings& below);

    // Calls visit(folder) with every include folder, its own and below's united, in byte order.
    template <class Visit>
    void forEachIncludeFolder(Visit&& visit) const;

    // Calls visit(name, value) with every define, its own and below's (a name of its own
    // winning), in byte order of names.
    template <class Visit>
    void forEachDefine(Visit&& visit) const;

    // Calls put with the pieces of the lines a generated analyser personality holds: "-i" and
    // the quoted folder for each include folder, then "-d" and the quoted define for each define,
    // each line ending in CR LF.
    template <class Put>
    void forEachPersonalityPiece(Put&& put) const;

    // The bytes of those lines.
    unsigned long long personalityBytes() const;

    // The bytes of the lines of its own entries sorted in so far, nothing of below's: less than
    // personalityBytes, or as much, and at no cost, as reading asks after every list it adds.
    unsigned long long personalityBytesSoFar() const { return includePaths.lineBytesSoFar() + defines.lineBytesSoFar(); }

    // The united include folders and defines, as copies.
    std::set<std::string> allIncludeFolders() const;
    std::map<std::string, DefineValue> allDefines() const;

    FolderSet includePaths;  // its own
    DefineMap defines;       // its own

private:
    const NodeSettings* below = nullptr;
};

namespace settings_detail {

// Walks two sets of entries in byte order of their keys, as one, calling visit(from, i) for the
// entry at position i of from: an entry of own wins over one of under with an equal key.
template <class Entries, class Visit>
void walkUnited(const Entries& own, const Entries& under, Visit&& visit)
{
    std::size_t a = 0;
    std::size_t b = 0;
    while (a < own.size() || b < under.size()) {
        if (b == under.size() || (a < own.size() && own.keyAt(a) < under.keyAt(b)))
            visit(own, a++);
        else if (a == own.size() || under.keyAt(b) < own.keyAt(a))
            visit(under, b++);
        else {
            visit(own, a++);
            ++b;
        }
    }
}

}  // namespace settings_detail

template <class Visit>
void NodeSettings::forEachIncludeFolder(Visit&& visit) const
{
    static const FolderSet none;
    settings_detail::walkUnited(includePaths, below != nullptr ? below->includePaths : none,
                                [&](const FolderSet& from, std::size_t i) { visit(from.keyAt(i)); });
}

template <class Visit>
void NodeSettings::forEachDefine(Visit&& visit) const
{
    static const DefineMap none;
    settings_detail::walkUnited(defines, below != nullptr ? below->defines : none,
                                [&](const DefineMap& from, std::size_t i) { visit(from.keyAt(i), from.valueAt(i)); });
}

template <class Put>
void NodeSettings::forEachPersonalityPiece(Put&& put) const
{
    forEachIncludeFolder([&](std::string_view folder) {
        put("-i \"");
        put(folder);
        put("\"\r\n");
    });
    forEachDefine([&](std::string_view macro, const DefineValue& value) {
        put("-d \"");
        put(macro);
        if (!value.text.empty() || value.assigned) {
            put("=");
            put(value.text);
        }
        put("\"\r\n");
    });
}
