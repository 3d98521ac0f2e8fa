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
    bool empty() const { return includePaths.empty() && defines.empty() && (below == nullptr || below->empty()); }

    // Sets a define; a name given again replaces its value and whether it had "=".
    void setDefine(const std::string& macro, std::string text, bool assigned);

    // Stores a completed folder unless the compiler personality already names it (as the
    // host's file system compares names).
    void addIncludeFolder(std::string folder, const std::list<std::string>& compilerFolders);

    // Lays these settings over those of below, which must outlive them and hold no overlay of
    // its own: a define of its own keeps its value, include folders are united. below is
    // referred to, not copied: a thousand groups over a target of 20,000 defines share them.
    void overlay(const NodeSettings& below);

    // Calls visit with every include folder, its own and below's united, in byte order.
    template <class Visit>
    void forEachIncludeFolder(Visit&& visit) const;

    // Calls visit with every define's name and value, its own and below's (a name of its own
    // winning), in byte order of names.
    template <class Visit>
    void forEachDefine(Visit&& visit) const;

    // The united include folders and defines, as copies.
    std::set<std::string> allIncludeFolders() const;
    std::map<std::string, DefineValue> allDefines() const;

    SparseContainer<std::set<std::string>> includePaths;          // its own: byte order, each once
    SparseContainer<std::map<std::string, DefineValue>> defines;  // its own: byte order of names, each once

private:
    const NodeSettings* below = nullptr;
};

template <class Visit>
void NodeSettings::forEachIncludeFolder(Visit&& visit) const
{
    static const std::set<std::string> none;
    const std::set<std::string>& own = includePaths.get();
    const std::set<std::string>& under = below != nullptr ? below->includePaths.get() : none;
    auto a = own.begin();
    auto b = under.begin();
    while (a != own.end() || b != under.end()) {
        if (b == under.end() || (a != own.end() && *a < *b))
            visit(*a++);
        else if (a == own.end() || *b < *a)
            visit(*b++);
        else {
            visit(*a++);
            ++b;
        }
    }
}

template <class Visit>
void NodeSettings::forEachDefine(Visit&& visit) const
{
    static const std::map<std::string, DefineValue> none;
    const std::map<std::string, DefineValue>& own = defines.get();
    const std::map<std::string, DefineValue>& under = below != nullptr ? below->defines.get() : none;
    auto a = own.begin();
    auto b = under.begin();
    while (a != own.end() || b != under.end()) {
        if (b == under.end() || (a != own.end() && a->first < b->first)) {
            visit(a->first, a->second);
            ++a;
        } else if (a == own.end() || b->first < a->first) {
            visit(b->first, b->second);
            ++b;
        } else {
            visit(a->first, a->second);
            ++a;
            ++b;
        }
    }
}
