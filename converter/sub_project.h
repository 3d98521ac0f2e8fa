// One node of the output tree: the project, a workspace member, a target or a group.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class Converter;
class OutputSession;

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

// A node becomes one block of the project file, one folder below the destination, and,
// when it has include folders or defines, one generated analyser personality.
class SubProject {
public:
    SubProject(std::string name, Converter* owner);
    ~SubProject();
    SubProject(const SubProject&) = delete;
    SubProject& operator=(const SubProject&) = delete;

    // Appends a new child node of that name and returns it. The run counts its nodes: beyond
    // its limit this throws AsciiReaderError TooManyNodes.
    SubProject* addChild(std::string childName);

    // Lists a source file, whose storage the run's path pool holds. The run counts what its
    // project file would hold: beyond its limit this throws AsciiReaderError TooMuchOutput.
    void addFile(std::string_view file);

    // Gives the node the defines and include folders of from underneath its own: a define of
    // its own keeps its value, include folders are united.
    void inheritSettings(const SubProject& from);

    bool hasSettings() const { return !includePaths.empty() || !defines.empty(); }

    // Sets a define; a name given again replaces its value and whether it had "=".
    void setDefine(const std::string& macro, std::string text, bool assigned);

    // Writer side: the node's block, its folders and its personality files.
    // Each pass of the writer walks the tree through writeTree (see OutputSession).
    void writeTree(OutputSession& out, const std::string& parentPath, std::string inheritedAnalyserPersonality);
    void ensureDirectory(const std::string& folder);
    void writeAnalyserPersonality(const std::string& file);
    void writeBaseAnalyserCopy(const std::string& file);
    void appendBaseAnalyserPersonality(std::string& content);

    std::string name;
    std::string path;                              // folder of the Keil file the node stands for, ending in "\"
    std::vector<std::string_view> files;           // reading order, duplicates kept; kept by the owner's pool
    SparseContainer<std::set<std::string>> includePaths;          // byte order, each once
    SparseContainer<std::map<std::string, DefineValue>> defines;  // byte order of names, each once
    std::vector<SubProject*> children;             // owned, creation order
    Converter* owner;
};
