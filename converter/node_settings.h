// A node's settings: the include folders and defines its analyser personality holds.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>

// A define's value, and whether it was given with "=": "X=" defines X as empty, "X" as 1.
struct DefineValue {
    std::string text;
    bool assigned = false;

    bool operator==(const DefineValue&) const = default;
};

// An ordered set or map that costs one pointer while it is empty. Most nodes are groups that
// never hold settings, and a project may have a million of them.
template <class Container>
class SparseContainer {
public:
    using value_type = typename Container::value_type;
    using key_type = typename Container::key_type;
    using iterator = typename Container::const_iterator;
    using const_iterator = typename Container::const_iterator;

    SparseContainer() = default;
    SparseContainer(const SparseContainer& other) { *this = other; }
    SparseContainer& operator=(const SparseContainer& other)
    {
        items = other.empty() ? nullptr : std::make_unique<Container>(*other.items);
        return *this;
    }
    SparseContainer& operator=(const Container& other)
    {
        items = other.empty() ? nullptr : std::make_unique<Container>(other);
        return *this;
    }

    bool empty() const { return !items || items->empty(); }
    std::size_t size() const { return items ? items->size() : 0; }
    const_iterator begin() const { return get().begin(); }
    const_iterator end() const { return get().end(); }
    bool contains(const key_type& key) const { return items && items->contains(key); }
    std::size_t count(const key_type& key) const { return contains(key) ? 1 : 0; }
    const Container& get() const { return items ? *items : none(); }

    // The container itself, made on first use.
    Container& modify()
    {
        if (!items)
            items = std::make_unique<Container>();
        return *items;
    }
    template <class... Arguments>
    auto insert(Arguments&&... arguments)
    {
        return modify().insert(std::forward<Arguments>(arguments)...);
    }
    template <class... Arguments>
    auto try_emplace(Arguments&&... arguments)
    {
        return modify().try_emplace(std::forward<Arguments>(arguments)...);
    }
    auto& operator[](const key_type& key) { return modify()[key]; }
    const auto& at(const key_type& key) const { return get().at(key); }

    friend bool operator==(const SparseContainer& a, const Container& b) { return a.get() == b; }
    friend bool operator==(const SparseContainer& a, const SparseContainer& b) { return a.get() == b.get(); }

private:
    static const Container& none()
    {
        static const Container empty;
        return empty;
    }

    std::unique_ptr<Container> items;
};

// The include folders and defines of a target or group, as both readers fill them.
class NodeSettings {
public:
    bool empty() const { return includePaths.empty() && defines.empty(); }

    // Sets a define; a name given again replaces its value and whether it had "=".
    void setDefine(const std::string& macro, std::string text, bool assigned);

    // Stores a completed folder unless the compiler personality already names it (as the
    // host's file system compares names).
    void addIncludeFolder(std::string folder, const std::list<std::string>& compilerFolders);

    // Lays these settings over those of below: a define of its own keeps its value, include
    // folders are united.
    void overlay(const NodeSettings& below);

    SparseContainer<std::set<std::string>> includePaths;          // byte order, each once
    SparseContainer<std::map<std::string, DefineValue>> defines;  // byte order of names, each once
};
