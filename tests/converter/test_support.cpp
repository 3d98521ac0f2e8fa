// Shared helpers of the converter tests.
#include "test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>

#include "command_line.h"
#include "reader/uv_project_reader.h"

bool parseText(ReadingSetup& setup, std::string_view text, SubProject* node)
{
    const ReadingContext context = setup.context();
    UvProjectReader reader(context);
    reader.projectNode = node != nullptr ? node : &setup.root;
    return reader.parse(text);
}

std::vector<std::string> CapturedOutput::lines() const
{
    std::vector<std::string> result;
    std::istringstream in(buffer.str());
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

TemporaryFolder::TemporaryFolder() : previous(std::filesystem::current_path())
{
    std::random_device random;
    folder = std::filesystem::temp_directory_path() / ("tamsel-test-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    folder = std::filesystem::canonical(folder);
    std::filesystem::current_path(folder);
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder, ignored);
}

std::string TemporaryFolder::windowsPath() const
{
    return windowsForm(folder);
}

ScopedVariable::ScopedVariable(const char* name, const std::optional<std::string>& value) : name(name)
{
    if (const char* old = std::getenv(name))
        previous = old;
    set(name, value);
}

ScopedVariable::~ScopedVariable()
{
    set(name, previous);
}

void ScopedVariable::set(const char* name, const std::optional<std::string>& value)
{
#ifdef _WIN32
    _putenv_s(name, value ? value->c_str() : "");
#else
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
#endif
}

std::string windowsForm(const std::filesystem::path& path)
{
    std::string text = std::filesystem::absolute(path).string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& file, const std::string& content)
{
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

int runConverter(const std::vector<std::string>& arguments)
{
    std::vector<const char*> argv{"Tamsel"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    return runTamsel(static_cast<int>(argv.size()), argv.data());
}

std::vector<std::string> listTree(const std::filesystem::path& root)
{
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string relative = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory())
            relative += "/";
        entries.push_back(relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::string testData(const std::string& relative)
{
    return std::string(TAMSEL_TEST_DATA) + "/" + relative;
}

std::filesystem::path corpusFolder()
{
    return TAMSEL_CORPUS;
}
