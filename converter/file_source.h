// Source files a node lists by reference to lines kept elsewhere.
#pragma once

#include <functional>
#include <string_view>

// A text project names each file once for every target that has its group: those lines are kept
// once and each group refers to them, instead of a copy per target.
class FileSource {
public:
    virtual ~FileSource() = default;

    // Calls each with the path of every file listed, in order; a path lives until the next call.
    virtual void forEach(const std::function<void(std::string_view)>& each) const = 0;
};
